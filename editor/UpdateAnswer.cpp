#include "UpdateAnswer.h"

namespace
{
const QLatin1String PREFIX("Latest_Version=");

bool isVersionAccepted(QString version)
{
    if (version.endsWith(QLatin1Char('\r')))
        version.chop(1);
    if (version.isEmpty() || version.size() > UpdateAnswer::VERSION_MAXIMUM_LENGTH)
        return false;
    for (const QChar character : version)
    {
        if ((character < QLatin1Char('0') || character > QLatin1Char('9')) && character != QLatin1Char('.'))
            return false;
    }
    return true;
}
} // namespace

int UpdateAnswer::readVersion(const QByteArray& body, QString* version)
{
    if (body.size() > MAXIMUM_SIZE)
        return -1;
    const QString text = QString::fromUtf8(body);
    if (!text.startsWith(PREFIX))
        return -1;
    QString candidate = text.mid(PREFIX.size());
    candidate.remove(QLatin1Char('\n'));
    if (!isVersionAccepted(candidate))
        return -1;
    *version = candidate;
    return 0;
}
