#pragma once

#include <QString>

namespace xlsx {

// In the order a report lays them out; the band list of TEXLReport is kept in this order.
enum class TEXLBandType
{
    Title,
    GroupHeader,
    MasterData,
    GroupFooter,
    Summary
};

// A range of template rows copied into the result: once (title, summary), once per row (master
// data), once per group (group header and footer, both naming the column the rows are grouped by).
struct TEXLBand
{
    TEXLBandType type = TEXLBandType::MasterData;
    QString range; // "A9:F9"
    QString groupColumn;
};

} // namespace xlsx
