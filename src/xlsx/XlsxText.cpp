#include "XlsxText.h"

#include <charconv>
#include <cmath>

namespace xlsx {

QByteArray columnLetters(int column)
{
    char buf[8];
    int n = 0;
    while (column > 0 && n < 8) {
        const int rem = (column - 1) % 26;
        buf[n++] = char('A' + rem);
        column = (column - 1) / 26;
    }
    QByteArray out(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        out[i] = buf[n - 1 - i];
    return out;
}

bool parseCellRef(QStringView text, int* column, int* row)
{
    int i = 0;
    const int n = int(text.size());
    if (i < n && text[i] == u'$')
        ++i;
    long long col = 0;
    const int colStart = i;
    while (i < n && ((text[i] >= u'A' && text[i] <= u'Z') || (text[i] >= u'a' && text[i] <= u'z'))) {
        col = col * 26 + (text[i].toUpper().unicode() - u'A' + 1);
        if (col > kMaxColumns)
            return false;
        ++i;
    }
    if (i == colStart)
        return false;
    if (i < n && text[i] == u'$')
        ++i;
    long long r = 0;
    const int rowStart = i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        r = r * 10 + (text[i].unicode() - u'0');
        if (r > kMaxRows)
            return false;
        ++i;
    }
    if (i == rowStart || i != n || r == 0)
        return false;
    *column = int(col);
    *row = int(r);
    return true;
}

bool parseRange(QStringView text, int* firstColumn, int* firstRow, int* lastColumn, int* lastRow)
{
    const auto colon = text.indexOf(u':');
    if (colon < 0) {
        if (!parseCellRef(text.trimmed(), firstColumn, firstRow))
            return false;
        *lastColumn = *firstColumn;
        *lastRow = *firstRow;
        return true;
    }
    if (!parseCellRef(text.left(colon).trimmed(), firstColumn, firstRow) ||
        !parseCellRef(text.mid(colon + 1).trimmed(), lastColumn, lastRow))
        return false;
    return *firstColumn <= *lastColumn && *firstRow <= *lastRow;
}

namespace {

bool isHex(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// "_xHHHH_" starts at i.
bool escapeAt(QStringView text, qsizetype i)
{
    if (i + 7 > text.size() || text[i + 1] != u'x' || text[i + 6] != u'_')
        return false;
    for (int k = 2; k < 6; ++k)
        if (!isHex(text[i + k].unicode()))
            return false;
    return true;
}

void appendHexEscape(QByteArray& out, char16_t c)
{
    static const char hex[] = "0123456789ABCDEF";
    const char buf[7] = {'_',          'x', hex[(c >> 12) & 0xF], hex[(c >> 8) & 0xF], hex[(c >> 4) & 0xF],
                         hex[c & 0xF], '_'};
    out.append(buf, 7);
}

void appendUtf8(QByteArray& out, char32_t c)
{
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        const char b[2] = {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
        out.append(b, 2);
    } else if (c < 0x10000) {
        const char b[3] = {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
        out.append(b, 3);
    } else {
        const char b[4] = {char(0xF0 | (c >> 18)), char(0x80 | ((c >> 12) & 0x3F)),
                           char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
        out.append(b, 4);
    }
}

} // namespace

void appendEscaped(QByteArray& out, QStringView text, bool inAttribute)
{
    const qsizetype n = text.size();
    const char16_t* s = reinterpret_cast<const char16_t*>(text.utf16());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c >= 0x20 && c < 0x80) {
            switch (c) {
            case u'&':
                out.append("&amp;", 5);
                break;
            case u'<':
                out.append("&lt;", 4);
                break;
            case u'>':
                out.append("&gt;", 4);
                break;
            case u'"':
                if (inAttribute)
                    out.append("&quot;", 6);
                else
                    out.append('"');
                break;
            case u'_':
                if (escapeAt(text, i))
                    out.append("_x005F_", 7);
                else
                    out.append('_');
                break;
            default:
                out.append(char(c));
            }
        } else if (c < 0x20) {
            if ((c == u'\t' || c == u'\n' || c == u'\r') && !inAttribute)
                out.append(char(c));
            else
                appendHexEscape(out, c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            appendUtf8(out, QChar::surrogateToUcs4(c, s[i + 1]));
            ++i;
        } else if (QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            appendHexEscape(out, c);
        } else {
            appendUtf8(out, c);
        }
    }
}

QString decodeEscapes(const QString& text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    const QStringView view(text);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && escapeAt(view, i)) {
            out.append(QChar(char16_t(text.mid(i + 2, 4).toUInt(nullptr, 16))));
            i += 6;
        } else {
            out.append(text[i]);
        }
    }
    return out;
}

bool needsSpacePreserve(QStringView text)
{
    if (text.isEmpty())
        return false;
    const auto isSpace = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; };
    return isSpace(text.front()) || isSpace(text.back()) || text.contains(u'\n') || text.contains(u"  ");
}

void appendInteger(QByteArray& out, long long value)
{
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr - buf);
}

void appendDouble(QByteArray& out, double value)
{
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, res.ptr - buf);
}

bool excelSerial(const QDateTime& dateTime, double* serial)
{
    const QDate date = dateTime.date();
    if (!date.isValid() || date < QDate(1900, 1, 1) || date > QDate(9999, 12, 31))
        return false;
    // The 1900 system counts a 29 February 1900 that never was: before March the serial is one less.
    const QDate epoch = date < QDate(1900, 3, 1) ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
    const double days = double(epoch.daysTo(date));
    const double fraction = double(dateTime.time().msecsSinceStartOfDay()) / 86400000.0;
    *serial = days + fraction;
    return true;
}

} // namespace xlsx
