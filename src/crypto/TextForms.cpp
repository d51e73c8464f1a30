#include "TextForms.h"

namespace crypto {

namespace {

constexpr qsizetype kBase64Line = 64;

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

void setOk(bool* ok, bool value)
{
    if (ok)
        *ok = value;
}

} // namespace

QString BinToBase64(const QByteArray& bytes)
{
    const QByteArray flat = bytes.toBase64();
    QString text;
    text.reserve(flat.size() + (flat.size() / kBase64Line + 1) * 2);
    for (qsizetype i = 0; i < flat.size(); i += kBase64Line) {
        text += QLatin1String(flat.mid(i, kBase64Line));
        text += QLatin1String("\r\n");
    }
    return text;
}

QByteArray Base64ToBin(const QString& text, bool* ok)
{
    QByteArray flat;
    flat.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\r' || u == u'\n' || u == u' ' || u == u'\t')
            continue;
        const bool alphabet = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
                              (u >= u'0' && u <= u'9') || u == u'+' || u == u'/' || u == u'=';
        if (!alphabet) {
            setOk(ok, false);
            return {};
        }
        flat += char(u);
    }
    // Whole groups only; padding only at the end, at most two characters.
    const qsizetype firstPad = flat.indexOf('=');
    const qsizetype padding = firstPad < 0 ? 0 : flat.size() - firstPad;
    if (flat.size() % 4 != 0 || padding > 2 || !flat.endsWith(QByteArray(padding, '='))) {
        setOk(ok, false);
        return {};
    }
    auto decoded = QByteArray::fromBase64Encoding(flat, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
        setOk(ok, false);
        return {};
    }
    setOk(ok, true);
    return *decoded;
}

QString BinToHex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QByteArray HexToBin(const QString& text, bool* ok)
{
    QByteArray bytes;
    bytes.reserve(text.size() / 2);
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        const int high = hexValue(text.at(i));
        const int low = hexValue(text.at(i + 1));
        if (high < 0 || low < 0) {
            setOk(ok, false);
            return {};
        }
        bytes += char(high * 16 + low);
    }
    // The last single digit is ignored, but it must still be a digit.
    if (text.size() % 2 != 0 && hexValue(text.back()) < 0) {
        setOk(ok, false);
        return {};
    }
    setOk(ok, true);
    return bytes;
}

} // namespace crypto
