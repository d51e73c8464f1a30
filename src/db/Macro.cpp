#include "Macro.h"

#include "DbError.h"

namespace db {

Macro* MacroList::find(const QString& name)
{
    for (auto& m : mItems)
        if (m.name().compare(name, Qt::CaseInsensitive) == 0)
            return &m;
    return nullptr;
}

const Macro* MacroList::find(const QString& name) const
{
    return const_cast<MacroList*>(this)->find(name);
}

Macro& MacroList::byName(const QString& name)
{
    if (Macro* m = find(name))
        return *m;
    throw DbError(QStringLiteral("Macro '%1' not found").arg(name).toStdString());
}

Macro& MacroList::add(const QString& name)
{
    if (Macro* m = find(name))
        return *m;
    mItems.append(Macro(name));
    return mItems.last();
}

void MacroList::syncNames(const QStringList& names)
{
    QList<Macro> next;
    for (const QString& n : names) {
        bool seen = false;
        for (const auto& m : next)
            seen = seen || m.name().compare(n, Qt::CaseInsensitive) == 0;
        if (seen)
            continue;
        const Macro* old = find(n);
        next.append(old ? *old : Macro(n));
    }
    mItems = next;
}

} // namespace db
