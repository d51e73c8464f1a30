#pragma once

#include <QString>

// Portal texts keep characters outside the single-byte code page as "\u" + four hex digits.
QString DecodeUnicodeEscapes(const QString& text);
// Characters the portal's code page 1251 cannot hold, and the accented Latin letters the web portal
// always expects escaped, become "\u" + four upper-case hex digits; the rest stays as it is.
QString EncodeUnicodeEscapes(const QString& text);
