#pragma once

#include "DataType.h"

#include <QString>
#include <QVariant>

namespace db {

// Name, type and declared size of a column, as a result's description gives it.
struct FieldDef
{
    QString name;
    DataType type = DataType::String;
    // Declared length of a text column, 0 when unbounded.
    int size = 0;
};

// Description of one column of a dataset; the values live in the dataset.
class Field
{
public:
    Field(const QString& name, DataType type, int size = 0, bool calculated = false);

    const QString& name() const { return mName; }
    DataType dataType() const { return mType; }
    int size() const { return mSize; }
    bool isCalculated() const { return mCalculated; }
    int index() const { return mIndex; }

    QString displayLabel() const { return mDisplayLabel.isEmpty() ? mName : mDisplayLabel; }
    void setDisplayLabel(const QString& label) { mDisplayLabel = label; }
    bool isVisible() const { return mVisible; }
    void setVisible(bool visible) { mVisible = visible; }
    // Width in characters; 0 means "as wide as the size says".
    int displayWidth() const;
    void setDisplayWidth(int width) { mDisplayWidth = width; }
    const QString& displayFormat() const { return mDisplayFormat; }
    void setDisplayFormat(const QString& format) { mDisplayFormat = format; }
    int tag() const { return mTag; }
    void setTag(int tag) { mTag = tag; }

    // Text as a grid shows it: display format for dates and numbers.
    QString displayText(const QVariant& value) const;

private:
    friend class Dataset;
    QString mName;
    DataType mType;
    int mSize;
    bool mCalculated;
    int mIndex = -1;
    QString mDisplayLabel;
    bool mVisible = true;
    int mDisplayWidth = 0;
    QString mDisplayFormat;
    int mTag = 0;
};

} // namespace db
