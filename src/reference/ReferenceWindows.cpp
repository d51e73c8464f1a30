#include "ReferenceWindows.h"

#include "ModalRunner.h"
#include "Query.h"
#include "ReferenceRules.h"
#include "SharedQueries.h"
#include "TdmMain.h"
#include "TfmPOSes.h"
#include "TfmSchemesForWeb.h"
#include "TfmTermsForWeb.h"
#include "TfmTransactionGroups.h"
#include "TfmTrnTypes.h"
#include "TfrmHelpEdit.h"

namespace reference {

namespace {

// Opens a window with a setting switch and writes the switch back after it closed, even when the
// window ended with an error.
template <class Window> void showWithSwitch(TdmMain& dm, const char* setting, Window& window)
{
    const QString key = QString::fromLatin1(setting);
    // Read afresh: another console may have switched it since the settings were read.
    dm.queries().oqTEVConfigs->close();
    window.setUseInWeb(ConfigSwitchOn(dm.GetConfigValue(key)));
    window.ensureCreated();
    try {
        framework::execModal(window);
    } catch (...) {
        dm.SetConfigValue(key, ConfigSwitchText(window.useInWeb()));
        throw;
    }
    dm.SetConfigValue(key, ConfigSwitchText(window.useInWeb()));
}

} // namespace

void ShowPOSes(QWidget* owner, TdmMain& dm)
{
    TfmPOSes window(dm, owner);
    framework::execModal(window);
}

void ShowTrnTypes(QWidget* owner, TdmMain& dm)
{
    TfmTrnTypes window(dm, owner);
    framework::execModal(window);
}

void ShowTransactionGroups(QWidget* owner, TdmMain& dm)
{
    TfmTransactionGroups window(owner, dm.ActiveScheme(), dm.session(), dm.LanguageId());
    showWithSwitch(dm, kUseTrnTypeGroup, window);
}

void ShowSchemesForWeb(QWidget* owner, TdmMain& dm)
{
    TfmSchemesForWeb window(owner, dm.ActiveScheme(), dm.session(), dm.LanguageId());
    showWithSwitch(dm, kUseSchemeForWeb, window);
}

void ShowTermsForWeb(QWidget* owner, TdmMain& dm)
{
    TfmTermsForWeb window(owner, dm.ActiveScheme(), dm.session(), dm.LanguageId());
    showWithSwitch(dm, kUseTermsForWeb, window);
}

void ShowHelpEdit(QWidget* owner, TdmMain& dm)
{
    TfrmHelpEdit window(dm, owner);
    framework::execModal(window);
}

} // namespace reference
