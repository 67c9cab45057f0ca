#ifndef FIRSTRUNPROMPT_H
#define FIRSTRUNPROMPT_H

#include <QCoreApplication>

class QWidget;

// The one-time "Welcome" question offering the getting-started help.
class FirstRunPrompt
{
    Q_DECLARE_TR_FUNCTIONS(FirstRunPrompt)

public:
    // Asks only while "IsFirstRun" is true or absent, then stores it as false whatever the answer.
    static void showIfNeeded(QWidget* parent);
};

#endif
