#ifndef WINDOWBENCH_H
#define WINDOWBENCH_H

#include "Device.h"
#include "FormContentEditor.h"
#include "ViewBase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <functional>

// What the runs that drive the main window against simulators share.

// Before the application object: offscreen unless told otherwise, the start menu's update check on
// a closed local port (never the real web site), and simulators announcing themselves in a folder
// of `directory`. False when that folder cannot be made.
inline bool prepareWindowBenchEnvironment(const QTemporaryDir& directory)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PAVISOR_WEBSITE_URL", "http://127.0.0.1:9");
    const QString descriptors = directory.filePath(QStringLiteral("descriptors"));
    qputenv("PAVISOR_SIMULATOR_DIR", descriptors.toLocal8Bit());
    return directory.isValid() && QDir().mkpath(descriptors);
}

// Turns the event loop until `condition` holds, for at most `timeoutMs`: a sleeping wait would slow
// the write page (one page per turn) down a hundredfold.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition())
    {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// After a save's confirmation: the in-window message it ended with ("title / text", dismissed), or
// "Saved / " and the notice of the status area for a save that worked; a note when neither came.
inline QString waitForSaveEnding(FormContentEditor* editor, int timeoutMs)
{
    using E = FormContentEditor;
    QStatusBar* status = editor->statusBar();
    if (!waitFor(
            [editor, status]()
            {
                return editor->viewGetCurrent() == E::VIEW_ID_MESSAGE_BOX_DIALOG ||
                       (!status->currentMessage().isEmpty() && Device::getSelectedDevice() == nullptr);
            },
            timeoutMs))
        return QStringLiteral("<no ending>");
    if (editor->viewGetCurrent() != E::VIEW_ID_MESSAGE_BOX_DIALOG)
        return QStringLiteral("Saved / ") + status->currentMessage();
    QWidget* page = editor->viewGetContent(E::VIEW_ID_MESSAGE_BOX_DIALOG);
    const QString message = editor->viewGetFrame(E::VIEW_ID_MESSAGE_BOX_DIALOG)->title() +
                            QStringLiteral(" / ") +
                            page->findChild<QLabel*>(QStringLiteral("labelText"))->text();
    page->findChild<QPushButton*>(QStringLiteral("pushButtonOk"))->click();
    return message;
}

#endif
