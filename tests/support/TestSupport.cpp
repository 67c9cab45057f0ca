#include "TestSupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
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
void answerFileDialog(const QString& path, QString* pointerProposedPath,
                      QMessageBox::StandardButton questionAnswer, QString* pointerQuestion)
{
    answerNextModal(
        [=](QWidget* modal)
        {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            auto* nameField = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (dialog == nullptr || nameField == nullptr)
                return;
            if (pointerProposedPath != nullptr)
                *pointerProposedPath = dialog->selectedFiles().value(0);
            const QSignalBlocker blocker(nameField);
            nameField->setText(path);
            if (auto* list = modal->findChild<QAbstractItemView*>(QStringLiteral("listView")))
                list->selectionModel()->clear();
            if (questionAnswer != QMessageBox::NoButton)
                answerNextModal(
                    [=](QWidget* question)
                    {
                        auto* box = qobject_cast<QMessageBox*>(question);
                        if (box == nullptr)
                            return;
                        *pointerQuestion = box->text();
                        box->button(questionAnswer)->click();
                    });
            QMetaObject::invokeMethod(dialog, "accept");
            if (dialog->isVisible())
                dialog->reject();
        });
}
} // namespace TestSupport
