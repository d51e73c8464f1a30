#pragma once

#include "DataType.h"

#include <QString>

namespace db {
class Dataset;
class Field;
} // namespace db

// Marking of a dataset's fields for the grid tools (find, sort, filter, report) by their tag.
namespace FieldMarking {

// What the rule looks at.
struct FieldFacts
{
    QString name;
    QString displayLabel;
    bool visible = true;
    db::DataType type = db::DataType::String;
    bool calculated = false;
    int tag = 0;
};

// The tag a field gets: a field already tagged keeps its tag; an unlabelled field, a hidden one
// whose label is plain ASCII, and a field of a type the tools cannot show stay 0. Otherwise data
// fields become 255, and the check field "RCHECK" and calculated fields 252.
int tagFor(const FieldFacts& facts);

// Applies tagFor to every field of the open dataset.
void markFields(db::Dataset& dataset);

} // namespace FieldMarking
