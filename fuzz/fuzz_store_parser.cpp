// libFuzzer target of the password store parser, from a decrypted memory image to tabs. The input
// fills the start of an image whose rest is erased flash (0xFF) when the input's first byte is 0xFF,
// else the store's end byte: a parse that runs to the scan limit costs a whole image, so most runs
// stop after the input and many more of them fit in the time. Whatever the parser keeps must encode
// and parse back to the same tabs, and its accumulator must hold nothing afterwards.
#include "PasswordStoreCodec.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool isSameTabs(const QList<PasswordStoreCodec::Tab>& first, const QList<PasswordStoreCodec::Tab>& second)
{
    if (first.size() != second.size())
        return false;
    for (qsizetype tab = 0; tab < first.size(); tab++)
    {
        if (first[tab].name != second[tab].name ||
            first[tab].passwords.size() != second[tab].passwords.size())
            return false;
        for (qsizetype record = 0; record < first[tab].passwords.size(); record++)
        {
            for (int field = 0; field < 5; field++)
            {
                if (first[tab].passwords[record].data[field] != second[tab].passwords[record].data[field])
                    return false;
            }
        }
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const unsigned char rest = size > 0 && data[0] == 0xFF ? 0xFF : PasswordStoreCodec::BYTE_STORE_END;
    // Allocated once: a fresh 128 KB buffer per run costs more than the parse.
    static std::vector<unsigned char> image(PasswordStoreCodec::MEMORY_SIZE), encoded(image.size());
    std::memset(image.data(), rest, image.size());
    std::memcpy(image.data(), data, std::min(size, image.size()));

    QList<PasswordStoreCodec::Tab> tabs;
    const int result = PasswordStoreCodec::parse(image.data(), &tabs);
    check(result <= 0 && result >= PasswordStoreCodec::PARSE_RESULT_SCAN_LIMIT_REACHED);
    static const std::vector<unsigned char> zeros(PasswordStoreCodec::MEMORY_SIZE, 0);
    check(std::memcmp(PasswordStoreCodec::testOnlyParseAccumulator(), zeros.data(), zeros.size()) == 0);

    // What was kept is what a save would write: it must come back unchanged.
    std::memset(encoded.data(), 0xFF, encoded.size());
    if (PasswordStoreCodec::encode(tabs, encoded.data()) < 0)
        return 0;
    QList<PasswordStoreCodec::Tab> parsedAgain;
    check(PasswordStoreCodec::parse(encoded.data(), &parsedAgain) ==
          PasswordStoreCodec::PARSE_RESULT_END_FOUND);
    check(isSameTabs(tabs, parsedAgain));
    return 0;
}
