#ifndef HELPVIEWER_H
#define HELPVIEWER_H

#include <QString>

class QProcess;

// Starts the bundled help viewer once, then steers it with page names on its standard input.
class HelpViewer
{
public:
    static void display(const QString& pageName);

    // The one viewer process of the application (terminated with the application).
    static QProcess& process();
};

#endif
