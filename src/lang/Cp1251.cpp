#include "Cp1251.h"

#include <array>

namespace lang {

namespace {

// 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
constexpr char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

constexpr char16_t kUnmapped = 0xFFFD;

struct Table
{
    std::array<char16_t, 256> toUnicode{};
    // Reverse lookup for U+0000..U+04FF and U+2000..U+21FF; 0 means none (U+0000 is handled apart).
    std::array<unsigned char, 0x500> low{};
    std::array<unsigned char, 0x200> punct{};

    Table()
    {
        for (int b = 0; b < 0x80; ++b)
            toUnicode[b] = char16_t(b);
        for (int b = 0x80; b < 0xC0; ++b)
            toUnicode[b] = kHigh[b - 0x80];
        for (int b = 0xC0; b < 0x100; ++b)
            toUnicode[b] = char16_t(0x0410 + (b - 0xC0));
        for (int b = 1; b < 0x100; ++b) {
            const char16_t u = toUnicode[b];
            if (u == kUnmapped)
                continue;
            if (u < 0x500)
                low[u] = uchar(b);
            else if (u >= 0x2000 && u < 0x2200)
                punct[u - 0x2000] = uchar(b);
        }
    }
};

const Table& table()
{
    static const Table t;
    return t;
}

} // namespace

char16_t cp1251Unicode(unsigned char byte)
{
    return table().toUnicode[byte];
}

int cp1251Byte(char16_t unit)
{
    if (unit < 0x80)
        return unit;
    const Table& t = table();
    if (unit < 0x500)
        return t.low[unit] ? t.low[unit] : -1;
    if (unit >= 0x2000 && unit < 0x2200)
        return t.punct[unit - 0x2000] ? t.punct[unit - 0x2000] : -1;
    return -1;
}

QByteArray toCp1251(const QString& text, bool* lossless)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    bool all = true;
    char* d = out.data();
    for (QChar c : text) {
        const int b = cp1251Byte(c.unicode());
        if (b < 0) {
            all = false;
            *d++ = '?';
        } else {
            *d++ = char(b);
        }
    }
    if (lossless)
        *lossless = all;
    return out;
}

QString fromCp1251(const char* data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    const Table& t = table();
    QChar* d = out.data();
    for (qsizetype i = 0; i < size; ++i)
        d[i] = QChar(t.toUnicode[uchar(data[i])]);
    return out;
}

QString fromCp1251(const QByteArray& bytes)
{
    return fromCp1251(bytes.constData(), bytes.size());
}

} // namespace lang
