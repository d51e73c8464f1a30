#include "GridToolsText.h"

namespace gridtools {

bool isRussianLanguage(int langId)
{
    // Windows primary language identifiers; 0 is what a missing setting gives.
    return langId == 25 || langId == 34 || langId == 35 || langId == 0;
}

QString gtText(int langId, const char* russian, const char* english)
{
    return QString::fromUtf8(isRussianLanguage(langId) ? russian : english);
}

} // namespace gridtools
