#pragma once

#include <QString>

namespace gridtools {

// Fixed texts of the grid tools that the message catalogue has no entry for, in Russian or
// English: Russian for the Russian, Ukrainian and Belarusian interface languages, English for
// any other.
QString gtText(int langId, const char* russian, const char* english);
bool isRussianLanguage(int langId);

} // namespace gridtools
