#ifndef UPDATEANSWER_H
#define UPDATEANSWER_H

#include <QByteArray>
#include <QString>

// The update server's answer: the body of the version file, "Latest_Version=" and the version of the
// newest release. Kept apart from the network code so that any bytes a server may send can be fed
// to it directly.
namespace UpdateAnswer
{
// The version file is one short line: a longer answer is not the version file.
constexpr qsizetype MAXIMUM_SIZE = 4096;
constexpr int VERSION_MAXIMUM_LENGTH = 32;

// 0 with the announced version in *version, or -1 when `body` is not a version file. Only line
// feeds are removed from the version; what is left is digits and dots (at most 32), possibly ended
// by the carriage return of a Windows line end, which makes it differ from any release and so
// offers the update. Only such text can reach the screen.
int readVersion(const QByteArray& body, QString* version);
} // namespace UpdateAnswer

#endif
