#ifndef PASSWORDSTORECODEC_H
#define PASSWORDSTORECODEC_H

#include "PasswordRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The plaintext byte format of the password store, at the start of the 131072-byte memory image:
// for each tab its UTF-8 name and 0x03, then for each record its five UTF-8 fields each ended by
// 0x00; one 0x04 ends the store. There is no header and no escape, so the three delimiter values
// can never appear inside a stored text.
namespace PasswordStoreCodec
{
constexpr int MEMORY_SIZE = 131072;
// Bytes the store may use, end byte included: up to scheme 1's check value, so that a store fits
// under both schemes an image may be written in.
constexpr int STORE_CAPACITY = 130948;
// The parser never looks further than this, whatever the buffer holds.
constexpr int PARSE_SCAN_LIMIT = 131068;

constexpr unsigned char BYTE_FIELD_END = 0x00;
constexpr unsigned char BYTE_TAB_NAME_END = 0x03;
constexpr unsigned char BYTE_STORE_END = 0x04;

struct Tab
{
    QString name;
    QList<PasswordRecord> passwords;
};

// Writes a store from offset 0, one piece at a time, testing the room before every write so that
// nothing ever lands past the store capacity, even when the store does not fit. A text is stored
// up to its first U+0000; U+0003 and U+0004 are removed from it, since they would be read back as
// structure. A failed store is left partial, without end byte, and callers discard it.
class Encoder
{
public:
    explicit Encoder(unsigned char* pointerBuffer);
    ~Encoder();
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // 0 on success, -1 when the piece does not fit (every later call then fails too).
    int appendTabName(const QString& name);
    int appendPassword(const PasswordRecord& password);
    // Writes the end byte: the number of bytes still free after it (0 to 130947), or -1.
    int finish();

private:
    unsigned char* _pointerBuffer;
    int _offset = 0;
    int _freeBytes = STORE_CAPACITY;
    // UTF-8 of the text being written: plaintext, reused and wiped when the encoder goes.
    QByteArray _scratch;

    int _appendText(const QString& text, unsigned char terminator);
};

// Encodes tabs in order into pointerBuffer (MEMORY_SIZE bytes): the free byte count, or -1.
int encode(const QList<Tab>& tabs, unsigned char* pointerBuffer);

enum ParseResult
{
    PARSE_RESULT_END_FOUND = 0,
    PARSE_RESULT_RECORD_BEFORE_TAB = -1,
    PARSE_RESULT_SCAN_LIMIT_REACHED = -2
};

// Appends to tabs every tab and complete record found in pointerBuffer (MEMORY_SIZE bytes). Any
// content is accepted: a record before any tab name or the scan limit stops the parse, keeping what
// was read so far. Returns a ParseResult. Not reentrant (one shared accumulator); GUI thread only.
int parse(const unsigned char* pointerBuffer, QList<Tab>* tabs);

// The parser's accumulator (MEMORY_SIZE bytes), which holds plaintext while parse() runs: lets the
// tests check that nothing of it is left once parse() returns.
const unsigned char* testOnlyParseAccumulator();
} // namespace PasswordStoreCodec

#endif
