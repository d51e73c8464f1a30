#pragma once

#include <QObject>
#include <QVariant>

namespace db {

// Data-access components (queries, stored procedures, packages, scripts) are QObjects named after
// their component name (objectName(), e.g. "qryLogins") and carry an integer tag; a component
// whose tag is not 0 is left alone by schema binding.
inline int componentTag(const QObject* component)
{
    return component->property("Tag").toInt();
}

inline void setComponentTag(QObject* component, int tag)
{
    component->setProperty("Tag", tag);
}

} // namespace db
