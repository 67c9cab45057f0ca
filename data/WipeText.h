#ifndef WIPETEXT_H
#define WIPETEXT_H

#include "Wipe.h"

#include <QByteArray>
#include <QString>

// The wipe helper on Qt's containers, for the plaintext that CSV files carry in and out.
inline void wipeBytes(QByteArray& bytes)
{
    if (!bytes.isEmpty())
        wipeMemory(bytes.data(), static_cast<size_t>(bytes.size()));
}

// A text shared with another string is left alone: wiping would detach a copy and wipe only that.
inline void wipeText(QString& text)
{
    if (!text.isEmpty() && text.isDetached())
        wipeMemory(text.data(), static_cast<size_t>(text.size()) * sizeof(QChar));
}

#endif
