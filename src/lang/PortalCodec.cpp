#include "PortalCodec.h"

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
