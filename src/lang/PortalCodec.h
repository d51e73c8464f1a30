#pragma once

#include <QString>

// Portal texts keep characters outside the single-byte code page as "\u" + four hex digits.
QString DecodeUnicodeEscapes(const QString& text);
