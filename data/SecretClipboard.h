#ifndef SECRETCLIPBOARD_H
#define SECRETCLIPBOARD_H

#include <QString>

class QMimeData;

// Every copy of a record field to the system clipboard goes through here, so that passwords
// carry the hints clipboard managers and history tools honour ("do not keep this").
namespace SecretClipboard
{
// The clipboard content for `text`; a secret one is marked so that clipboard histories skip it
// (`x-kde-passwordManagerHint: secret`, and the concealed type of the macOS pasteboard).
QMimeData* createMimeData(const QString& text, bool isSecret);
// Puts `text` on the system clipboard, marked as above when it is a secret, and remembers it.
void copy(const QString& text, bool isSecret);
// Takes the text copy() put there last off the clipboard, and off the X11 selection where the system
// has one, and forgets it. Only while it is still there: what the user has copied since stays.
void clearCopiedText();
} // namespace SecretClipboard

#endif
