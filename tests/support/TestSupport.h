#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

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
} // namespace TestSupport

#endif
