#include "PeriodTexts.h"

#include "Catalogue.h"
#include "TComBaseForm.h"

void ApplyPeriodTexts(TComBaseForm& window)
{
    TextSources& table = window.textSources();
    table.setText(TextSources::Day, lang::tr(u"vrstrDay"));
    table.setText(TextSources::Month, lang::tr(u"vrstrMonth"));
    table.setText(TextSources::Year, lang::tr(u"vrstrYear"));
    table.setText(TextSources::Quarter, lang::tr(u"vrstrQuarter"));
    window.bindTextSources();
}
