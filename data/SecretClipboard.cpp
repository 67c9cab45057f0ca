#include "SecretClipboard.h"
#include "WipeText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#if defined(Q_OS_MACOS) && QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
#include <QUtiMimeConverter>
#endif

namespace
{
const char* const CONCEALED_TYPE = "org.nspasteboard.ConcealedType";

// What copy() put on the clipboard last and nobody has cleared yet. The clipboard shares its text.
QString copiedText;

#if defined(Q_OS_MACOS) && QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
// Qt writes a MIME type it has no converter for under its own "com.trolltech.anymime." prefix,
// where no clipboard history looks. This converter puts the concealed type on the pasteboard under
// its bare name. (Qt 6.4 has no public way to do this: there the hint is written prefixed and
// clipboard histories ignore it.)
class ConcealedTypeConverter : public QUtiMimeConverter
{
public:
    QString mimeForUti(const QString& uti) const override
    {
        return uti == QLatin1String(CONCEALED_TYPE) ? uti : QString();
    }
    QString utiForMime(const QString& mime) const override
    {
        return mime == QLatin1String(CONCEALED_TYPE) ? mime : QString();
    }
    QVariant convertToMime(const QString&, const QList<QByteArray>& data, const QString&) const override
    {
        return data.value(0);
    }
    QList<QByteArray> convertFromMime(const QString&, const QVariant& data, const QString&) const override
    {
        return {data.toByteArray()};
    }
};
#endif
} // namespace

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
#if defined(Q_OS_MACOS) && QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
        // Registered once the application exists; Qt owns it and deletes it at shutdown.
        static auto* concealedTypeConverter = new ConcealedTypeConverter();
        Q_UNUSED(concealedTypeConverter);
#endif
        mimeData->setData(QString::fromLatin1(CONCEALED_TYPE), QByteArray());
    }
    return mimeData;
}

void copy(const QString& text, bool isSecret)
{
    QGuiApplication::clipboard()->setMimeData(createMimeData(text, isSecret), QClipboard::Clipboard);
    copiedText = text;
}

void clearCopiedText()
{
    // An empty copy leaves nothing to take back, and must not erase a picture the user copied since.
    if (!copiedText.isEmpty())
    {
        QClipboard* clipboard = QGuiApplication::clipboard();
        for (const QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection})
        {
            if ((mode == QClipboard::Clipboard || clipboard->supportsSelection()) &&
                clipboard->text(mode) == copiedText)
                clipboard->clear(mode);
        }
    }
    wipeText(copiedText);
    copiedText = QString();
}
} // namespace SecretClipboard
