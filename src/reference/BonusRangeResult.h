#pragma once

#include <QString>

// What the console shows for a result code of the range writes: 1 an invalid range, 2 an overlap,
// 3 any other error; nothing (an empty text) for 0 and for a code it does not know.
QString BonusRangeResultMessage(int resultCode);
