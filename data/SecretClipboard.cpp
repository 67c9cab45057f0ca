#include "SecretClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace SecretClipboard
{
QMimeData* createMimeData(const QString& text, bool isSecret)
{
    auto* mimeData = new QMimeData();
    mimeData->setText(text);
    if (isSecret)
    {
        // KDE's Klipper and most Linux clipboard managers skip data with this hint.
        mimeData->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
        // The nspasteboard.org convention, honoured by the macOS clipboard history tools.
        mimeData->setData(QStringLiteral("org.nspasteboard.ConcealedType"), QByteArray());
    }
    return mimeData;
}

void copy(const QString& text, bool isSecret)
{
    QGuiApplication::clipboard()->setMimeData(createMimeData(text, isSecret), QClipboard::Clipboard);
}
} // namespace SecretClipboard
