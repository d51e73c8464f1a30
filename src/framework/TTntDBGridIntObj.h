#pragma once

#include "TDBGridIntObj.h"

// Adapter of the Unicode data grid; its columns and check rules are those of the standard grid.
class TTntDBGridIntObj : public TDBGridIntObj
{
public:
    explicit TTntDBGridIntObj(DBGrid* grid);
};
