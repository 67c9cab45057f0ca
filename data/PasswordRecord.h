#ifndef PASSWORDRECORD_H
#define PASSWORDRECORD_H

#include <QString>

// One password record: five texts, empty when new. The field order is the column order of the
// table and the order the store and our CSV files keep.
struct PasswordRecord
{
    enum Field
    {
        FIELD_NAME,
        FIELD_LOGIN,
        FIELD_PASSWORD,
        FIELD_URL,
        FIELD_NOTE,
        FIELD_COUNT
    };

    QString data[FIELD_COUNT];

    bool operator==(const PasswordRecord& other) const;
    bool operator!=(const PasswordRecord& other) const { return !(*this == other); }
};

#endif
