#include "ActionText.h"

#include "Catalogue.h"

namespace framework {

QString ActionText::text() const
{
    if (mKey)
        return lang::tr(mKey);
    return mFixed ? QString::fromUtf8(mFixed) : QString();
}

} // namespace framework
