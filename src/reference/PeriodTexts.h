#pragma once

class TComBaseForm;

// The period selector's step names (day, month, year, quarter) from the catalogue, put into the
// window's text-source table and handed to its controls again.
void ApplyPeriodTexts(TComBaseForm& window);
