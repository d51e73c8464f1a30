#include "PortalCodec.h"

#include "Cp1251.h"

#include <algorithm>
#include <iterator>

static int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

QString DecodeUnicodeEscapes(const QString& text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString result;
    result.reserve(text.size());
    const int n = int(text.size());
    for (int i = 0; i < n;) {
        if (text[i] == QLatin1Char('\\') && i + 1 < n && text[i + 1] == QLatin1Char('u')) {
            // Up to four digits; an invalid number counts as 0.
            const QStringView digits = QStringView(text).mid(i + 2, 4);
            int value = 0;
            bool valid = !digits.isEmpty();
            for (QChar c : digits) {
                const int h = hexValue(c);
                if (h < 0) {
                    valid = false;
                    break;
                }
                value = value * 16 + h;
            }
            result += QChar(char16_t(valid ? value : 0));
            i += 6;
        } else {
            result += text[i];
            ++i;
        }
    }
    return result;
}

namespace {

// Accented Latin letters the web portal has always received escaped (Á Ç É Í Ñ Ó Ö Ú Ü à á â ç è é ê ë í ï ñ
// ó ö ù ú û ü).
constexpr char16_t kAlwaysEscaped[] = {193, 199, 201, 205, 209, 211, 214, 218, 220, 224, 225, 226, 231,
                                       232, 233, 234, 235, 237, 239, 241, 243, 246, 249, 250, 251, 252};

bool alwaysEscaped(char16_t u)
{
    return std::find(std::begin(kAlwaysEscaped), std::end(kAlwaysEscaped), u) != std::end(kAlwaysEscaped);
}

} // namespace

QString EncodeUnicodeEscapes(const QString& text)
{
    QString result;
    result.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        // Anything the code page lacks is escaped too: converting it would store "?" for good.
        // A backslash before "u" is escaped as well, or it would read back as an escape.
        const bool escapeLike = u == '\\' && i + 1 < n && text[i + 1] == QLatin1Char('u');
        if (alwaysEscaped(u) || !lang::isCp1251(u) || escapeLike) {
            result += QLatin1String("\\u");
            result += QStringLiteral("%1").arg(uint(u), 4, 16, QLatin1Char('0')).toUpper();
        } else {
            result += c;
        }
    }
    return result;
}
