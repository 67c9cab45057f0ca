// libFuzzer target of the update server's answer, from the body of the version file to the version
// offered to the user. Whatever is accepted must be digits and dots that fit the screen, and must
// come from a body of the version file's size; a version file written with an accepted version is
// read back to it, whatever line end it has.
#include "UpdateAnswer.h"

#include <cstdint>
#include <cstdlib>

namespace
{
void check(bool condition)
{
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray body(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString version = QStringLiteral("untouched");
    if (UpdateAnswer::readVersion(body, &version) != 0)
    {
        check(version == QLatin1String("untouched"));
        return 0;
    }
    check(body.size() <= UpdateAnswer::MAXIMUM_SIZE && body.startsWith("Latest_Version="));
    QString shown = version;
    if (shown.endsWith(QLatin1Char('\r')))
        shown.chop(1);
    check(!shown.isEmpty() && shown.size() <= UpdateAnswer::VERSION_MAXIMUM_LENGTH);
    for (const QChar character : shown)
        check((character >= QLatin1Char('0') && character <= QLatin1Char('9')) ||
              character == QLatin1Char('.'));

    for (const char* lineEnd : {"", "\n", "\r\n", "\n\n"})
    {
        QString again;
        check(UpdateAnswer::readVersion("Latest_Version=" + shown.toLatin1() + lineEnd, &again) == 0);
        check(again == shown + (QByteArray(lineEnd).startsWith('\r') ? QStringLiteral("\r") : QString()));
    }
    return 0;
}
