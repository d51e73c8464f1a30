#pragma once

#include <QList>
#include <QString>

namespace db {
class Query;
}

// The clients query of the work area (qryClients): its text, parameters, macros, calculated name
// and columns, and the catalogue texts its SQL carries as literals.
namespace ClientsQuery {

// The tick column, kept in memory only.
inline constexpr char kTickField[] = "ISVISIBLE";
// Fields and parameters that code uses by name.
inline constexpr char kIdField[] = "WBC_ID";
inline constexpr char kNameField[] = "WBC_NAME";
inline constexpr char kDecodedNameField[] = "WBC_NAME_ANSI";
inline constexpr char kDescriptionField[] = "WBC_DESCRIPTION";
inline constexpr char kLnrField[] = "CLIENTISLNR";
inline constexpr char kCreateDRTextField[] = "ALLOW_CREATE_DR_TXT";
inline constexpr char kCreateDDTextField[] = "ALLOW_CREATE_DD_TXT";
inline constexpr char kCreateOILTextField[] = "ALLOW_CREATE_OIL_TXT";
inline constexpr char kEmitentParam[] = "emitent_id";
inline constexpr char kReportNameParam[] = "rpt";

// One shown column of the clients grid, in display order.
struct Column
{
    const char* field;
    const char16_t* captionKey; // catalogue key, or nullptr for a fixed caption
    const char* fixedCaption;   // UTF-8, when there is no key
    int width;                  // pixels
};
const QList<Column>& Columns();
// The caption a column shows in the current interface language.
QString Caption(const Column& column);

// Creates nothing: gives an empty query the clients text, its refresh text, parameter types,
// design sort order, the decoded name column and the shown/hidden fields.
void Setup(db::Query& query);
// Text macros from the catalogue (made SQL literals) and column captions; the caller reopens.
void ApplyTexts(db::Query& query);
// The text macros of the logins query (qryLogins).
void ApplyLoginsTexts(db::Query& query);

// A catalogue text as a quoted SQL literal: 'text' with its quotes doubled.
QString SqlLiteral(const QString& text);

// The portal setting SHOW_REPORT_NAME read as an integer: 0 when empty or not a number.
int ReportNameSwitch(const QString& settingText);

} // namespace ClientsQuery
