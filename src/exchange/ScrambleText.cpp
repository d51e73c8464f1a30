#include "ScrambleText.h"

#include "Cp1251.h"

namespace {

constexpr unsigned char kKey[18] = {0x8A, 0x93, 0x81, 0x9C, 0x85, 0x8F, 0x96, 0x82, 0x9B,
                                    0x87, 0x90, 0x8C, 0x99, 0x84, 0x9E, 0x8D, 0x92, 0x86};

bool storable(unsigned char byte)
{
    return byte != 0x00 && byte != 0x98;
}

} // namespace

namespace ScrambleText {

QString Apply(const QString& text)
{
    QByteArray bytes = lang::toCp1251(text);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        const unsigned char s = b ^ kKey[i % 18];
        if (storable(s) && storable(b))
            bytes[i] = char(s);
    }
    return lang::fromCp1251(bytes);
}

bool Accepts(const QString& text)
{
    bool lossless = true;
    const QByteArray bytes = lang::toCp1251(text, &lossless);
    if (!lossless)
        return false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (!storable(b) || !storable(b ^ kKey[i % 18]))
            return false;
    }
    return true;
}

} // namespace ScrambleText
