#include "FieldMarking.h"

#include "Dataset.h"
#include "IDBGrid.h"

namespace FieldMarking {

namespace {

bool hasNonAscii(const QString& text)
{
    for (const QChar c : text)
        if (c.unicode() > 127)
            return true;
    return false;
}

bool markableType(db::DataType type)
{
    switch (type) {
    case db::DataType::String:
    case db::DataType::Integer:
    case db::DataType::Float:
    case db::DataType::Boolean:
    case db::DataType::Date:
    case db::DataType::DateTime:
    case db::DataType::Blob:
        return true;
    case db::DataType::Unknown:
    case db::DataType::Cursor:
        break;
    }
    return false;
}

} // namespace

int tagFor(const FieldFacts& facts)
{
    if (facts.tag != 0)
        return facts.tag;
    const QString label = facts.displayLabel.trimmed();
    if (label.isEmpty() || !markableType(facts.type))
        return 0;
    // A hidden field still takes part when a Russian label shows it is meant for the user.
    if (!facts.visible && !hasNonAscii(facts.displayLabel))
        return 0;
    if (facts.calculated || facts.name.compare(QLatin1String("RCHECK"), Qt::CaseInsensitive) == 0)
        return kGridToolsOtherFieldTag;
    return kGridToolsDataFieldTag;
}

void markFields(db::Dataset& dataset)
{
    for (int i = 0; i < dataset.fieldCount(); ++i) {
        db::Field& f = dataset.field(i);
        f.setTag(
            tagFor({f.name(), f.displayLabel(), f.isVisible(), f.dataType(), f.isCalculated(), f.tag()}));
    }
}

} // namespace FieldMarking
