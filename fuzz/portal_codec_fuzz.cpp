// Portal texts: any text decodes, any text encodes to code page 1251 characters only, and decoding
// what was encoded gives the text back.

#include "Cp1251.h"
#include "FuzzSupport.h"
#include "PortalCodec.h"

#include <cstdio>

namespace {

void check(const QString& text)
{
    (void)DecodeUnicodeEscapes(text);
    const QString encoded = EncodeUnicodeEscapes(text);
    for (QChar c : encoded)
        FUZZ_CHECK(lang::isCp1251(c.unicode()));
    FUZZ_CHECK(DecodeUnicodeEscapes(encoded) == text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    check(fuzz::utf8(data, size));
    check(fuzz::utf16(data, size));
    return 0;
}
