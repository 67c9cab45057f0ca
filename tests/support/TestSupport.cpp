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
    answerNext(&QApplication::activeModalWidget, answer, timeoutMs);
}

void answerNext(const std::function<QWidget*()>& find, const std::function<void(QWidget*)>& answer,
                int timeoutMs)
{
    auto timer = std::make_shared<QTimer>();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer.get(), &QTimer::timeout,
                     [timer, clock, find, answer, timeoutMs]()
                     {
                         QWidget* widget = find();
                         if (widget != nullptr)
                         {
                             timer->stop();
                             answer(widget);
                         }
                         else if (clock->elapsed() > timeoutMs)
                             timer->stop();
                     });
    timer->start();
}
} // namespace TestSupport
