#pragma once

#include <QList>
#include <QString>

namespace db {

// A text substituted into the SQL before it runs; an inactive macro expands to nothing.
class Macro
{
public:
    Macro() = default;
    explicit Macro(const QString& name) : mName(name) {}

    const QString& name() const { return mName; }
    const QString& value() const { return mValue; }
    void setValue(const QString& value) { mValue = value; }
    bool isActive() const { return mActive; }
    void setActive(bool active) { mActive = active; }
    QString expansion() const { return mActive ? mValue : QString(); }

private:
    QString mName;
    QString mValue;
    bool mActive = true;
};

class MacroList
{
public:
    int count() const { return int(mItems.size()); }
    Macro& at(int i) { return mItems[i]; }
    Macro* find(const QString& name);
    const Macro* find(const QString& name) const;
    // Throws DbError naming the macro when it does not exist.
    Macro& byName(const QString& name);
    Macro& add(const QString& name);
    void syncNames(const QStringList& names);

private:
    QList<Macro> mItems;
};

} // namespace db
