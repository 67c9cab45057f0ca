#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace TestSupport
{
void answerNextModal(const std::function<void(QWidget*)>& answer, int timeoutMs)
{
    auto timer = std::make_shared<QTimer>();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer.get(), &QTimer::timeout,
                     [timer, clock, answer, timeoutMs]()
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (modal != nullptr)
                         {
                             timer->stop();
                             answer(modal);
                         }
                         else if (clock->elapsed() > timeoutMs)
                             timer->stop();
                     });
    timer->start();
}
} // namespace TestSupport
