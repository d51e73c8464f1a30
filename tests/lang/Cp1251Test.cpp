#include "Cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace {

// The C library's own CP1251 converter serves as the reference table.
class Iconv
{
public:
    Iconv(const char* to, const char* from) : mCd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (valid())
            iconv_close(mCd);
    }
    bool valid() const { return mCd != iconv_t(-1); }
    // Converts one unit; false when the other side has no such character.
    bool convert(const void* in, size_t inSize, void* out, size_t outSize, size_t* written)
    {
        iconv(mCd, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = static_cast<char*>(const_cast<void*>(in));
        char* outPtr = static_cast<char*>(out);
        size_t inLeft = inSize, outLeft = outSize;
        const size_t rc = iconv(mCd, &inPtr, &inLeft, &outPtr, &outLeft);
        *written = outSize - outLeft;
        return rc != size_t(-1) && inLeft == 0;
    }

private:
    iconv_t mCd;
};

} // namespace

TEST(Cp1251Test, BytesDecodeAsTheReferenceTable)
{
    Iconv toUnicode("UTF-16LE", "CP1251");
    ASSERT_TRUE(toUnicode.valid());
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const unsigned char byte = uchar(b);
        char16_t unit = 0;
        size_t written = 0;
        const bool mapped = toUnicode.convert(&byte, 1, &unit, sizeof unit, &written);
        const QString decoded = lang::fromCp1251(QByteArray(1, char(byte)));
        ASSERT_EQ(decoded.size(), 1);
        if (b == 0x98) {
            EXPECT_FALSE(mapped);
            EXPECT_EQ(decoded[0].unicode(), 0xFFFD);
        } else {
            ASSERT_TRUE(mapped);
            EXPECT_EQ(decoded[0].unicode(), unit);
        }
    }
}

TEST(Cp1251Test, EveryCodeUnitEncodesAsTheReferenceTable)
{
    Iconv fromUnicode("CP1251", "UTF-16LE");
    ASSERT_TRUE(fromUnicode.valid());
    for (int u = 0; u <= 0xFFFF; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue; // halves of surrogate pairs are no characters to iconv
        const char16_t unit = char16_t(u);
        char byte = 0;
        size_t written = 0;
        const bool mapped = fromUnicode.convert(&unit, sizeof unit, &byte, 1, &written) && written == 1;
        bool lossless = true;
        const QByteArray encoded = lang::toCp1251(QString(QChar(unit)), &lossless);
        ASSERT_EQ(encoded.size(), 1) << u;
        ASSERT_EQ(lossless, mapped) << "U+" << std::hex << u;
        ASSERT_EQ(encoded[0], mapped ? byte : '?') << "U+" << std::hex << u;
    }
}

TEST(Cp1251Test, TextsKeepTheirLength)
{
    bool lossless = true;
    EXPECT_EQ(lang::toCp1251(QStringLiteral("Ёж ß"), &lossless), QByteArray("\xA8\xE6 ?"));
    EXPECT_FALSE(lossless);
    EXPECT_EQ(lang::toCp1251(QStringLiteral("Ёж"), &lossless), QByteArray("\xA8\xE6"));
    EXPECT_TRUE(lossless);
    EXPECT_EQ(lang::fromCp1251(QByteArray("a\0b\xB9", 4)),
              QStringLiteral("a") + QChar(0) + QStringLiteral("b№"));
}
