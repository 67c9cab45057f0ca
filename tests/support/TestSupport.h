#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace TestSupport
{
// Calls `answer` with the first modal widget that appears within `timeoutMs` (native message
// boxes are answered this way, from the event loop of the dialog itself).
void answerNextModal(const std::function<void(QWidget*)>& answer, int timeoutMs = 5000);
// The same with the first widget that `find` gives (QApplication::activePopupWidget for a menu).
void answerNext(const std::function<QWidget*()>& find, const std::function<void(QWidget*)>& answer,
                int timeoutMs = 5000);
// Answers the next file dialog with `path` as a user typing it and accepting. The name field is
// filled with its signals blocked (so that it picks no file of the list) and the list selection is
// cleared, so that the dialog answers what the field holds; a refused answer rejects the dialog.
// With a question expected (replacing a file), it is answered by the button `questionAnswer` and its
// text kept in *pointerQuestion.
void answerFileDialog(const QString& path, QString* pointerProposedPath = nullptr,
                      QMessageBox::StandardButton questionAnswer = QMessageBox::NoButton,
                      QString* pointerQuestion = nullptr);
} // namespace TestSupport

#endif
