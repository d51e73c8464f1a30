#include "FieldMarking.h"

#include "GridTestDataset.h"

#include <gtest/gtest.h>

using db::DataType;
using FieldMarking::FieldFacts;

namespace {

struct MarkCase
{
    const char* name;
    FieldFacts facts;
    int expected;
};

} // namespace

TEST(FieldMarking, TagByRule)
{
    const QString cyrillic = QStringLiteral("Название");
    const MarkCase cases[] = {
        {"visible data field", {"WBC_NAME", "Name", true, DataType::String, false, 0}, 255},
        {"already tagged keeps its tag", {"WBC_NAME", "Name", true, DataType::String, false, 7}, 7},
        {"hidden with latin label stays out", {"WBC_ID", "WBC_ID", false, DataType::Integer, false, 0}, 0},
        {"hidden with cyrillic label is marked",
         {"WBC_NAME", cyrillic, false, DataType::String, false, 0},
         255},
        {"check field is 252", {"RCHECK", "V", true, DataType::String, false, 0}, 252},
        {"check field in any case", {"rcheck", "V", true, DataType::Integer, false, 0}, 252},
        {"calculated field is 252", {"WBC_NAME_ANSI", cyrillic, true, DataType::String, true, 0}, 252},
        {"blank label stays out", {"X", "   ", true, DataType::String, false, 0}, 0},
        {"cursor field stays out", {"P_ROWS", "Rows", true, DataType::Cursor, false, 0}, 0},
        {"unknown type stays out", {"X", "X", true, DataType::Unknown, false, 0}, 0},
        {"date", {"D", "D", true, DataType::Date, false, 0}, 255},
        {"timestamp", {"D", "D", true, DataType::DateTime, false, 0}, 255},
        {"float", {"F", "F", true, DataType::Float, false, 0}, 255},
        {"boolean", {"B", "B", true, DataType::Boolean, false, 0}, 255},
        {"blob", {"B", "B", true, DataType::Blob, false, 0}, 255},
        {"hidden calculated with cyrillic", {"C", cyrillic, false, DataType::String, true, 0}, 252},
    };
    for (const MarkCase& c : cases)
        EXPECT_EQ(FieldMarking::tagFor(c.facts), c.expected) << c.name;
}

TEST(FieldMarking, MarksAnOpenDataset)
{
    GridTestDataset ds({{"ID", DataType::Integer}, {"NAME", DataType::String}, {"RCHECK", DataType::String}},
                       {{QString("1"), QString("a"), QString("+")}});
    ds.defineField("ID").setVisible(false);
    ds.defineField("NAME").setTag(7);
    ds.open();
    FieldMarking::markFields(ds);
    EXPECT_EQ(ds.fieldByName("ID").tag(), 0);
    EXPECT_EQ(ds.fieldByName("NAME").tag(), 7);
    EXPECT_EQ(ds.fieldByName("RCHECK").tag(), 252);
}
