#include "PasswordRecord.h"

bool PasswordRecord::operator==(const PasswordRecord& other) const
{
    for (int i = 0; i < FIELD_COUNT; i++)
    {
        if (data[i] != other.data[i])
            return false;
    }
    return true;
}
