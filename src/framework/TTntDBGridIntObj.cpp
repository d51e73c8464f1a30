#include "TTntDBGridIntObj.h"

TTntDBGridIntObj::TTntDBGridIntObj(DBGrid* grid) : TDBGridIntObj(grid) {}
