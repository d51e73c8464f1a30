#pragma once

class QWidget;
class TdmMain;

// The reference-data windows as the main window opens them: modal, freed when they close.
namespace reference {

// Names of the portal settings the windows switch.
inline constexpr char kUseTrnTypeGroup[] = "USE_TRNTYPE_GROUP";
inline constexpr char kUseSchemeForWeb[] = "USE_SCHEME_FOR_WEB";
inline constexpr char kUseTermsForWeb[] = "USE_TERMS_FOR_WEB";

void ShowPOSes(QWidget* owner, TdmMain& dm);
void ShowTrnTypes(QWidget* owner, TdmMain& dm);
// The three windows below get their setting switch from the portal settings and, however they
// close, write it back as "1" or "0".
void ShowTransactionGroups(QWidget* owner, TdmMain& dm);
void ShowSchemesForWeb(QWidget* owner, TdmMain& dm);
void ShowTermsForWeb(QWidget* owner, TdmMain& dm);
void ShowHelpEdit(QWidget* owner, TdmMain& dm);

} // namespace reference
