#include "ReferenceRules.h"

namespace reference {

int SwapFlag(int current)
{
    return current >= 1 ? current - 1 : 1 - current;
}

int BulkFlagValue(BulkFlag mode, int current)
{
    switch (mode) {
    case BulkFlag::CheckAll:
        return 1;
    case BulkFlag::UncheckAll:
        return 0;
    case BulkFlag::Invert:
        break;
    }
    return SwapFlag(current);
}

bool ConfigSwitchOn(const QString& value)
{
    bool ok = false;
    const int number = value.trimmed().toInt(&ok, 10);
    return ok && number == 1;
}

QString ConfigSwitchText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

bool IsBuiltInHelpItem(int id)
{
    return id <= kLastBuiltInHelpId;
}

QString HelpTypeString(bool oc, bool lnr, bool bc)
{
    QString type;
    for (bool ticked : {oc, lnr, bc})
        type += ticked ? QLatin1Char('1') : QLatin1Char('0');
    return type;
}

bool HelpTypeTicked(const QString& type, int index)
{
    return index >= 0 && index < type.size() && type.at(index) == QLatin1Char('1');
}

} // namespace reference
