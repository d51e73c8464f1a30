#include "LoginPasswordCheck.h"

#include "Catalogue.h"
#include "MessageDialogs.h"
#include "TdmMain.h"

namespace LoginPasswordCheck {

bool Confirm(TdmMain& dm, QWidget* owner, const QString& password, const char16_t* questionKey)
{
    if (!dm.PasswordCheckEnabled())
        return true;
    const QString reason = dm.CheckPasswordSecurity(password);
    if (reason.isEmpty())
        return true;
    lang::MessageRequest r;
    r.caption = lang::tr(u"rstrWarning");
    r.text = lang::format(lang::tr(questionKey), {reason});
    r.icon = lang::MsgIcon::Warning;
    r.owner = owner;
    r.buttons = {{lang::mrYes, lang::tr(u"rstrYes")}, {lang::mrNo, lang::tr(u"rstrNo")}};
    return lang::messagePresenter().show(r) == lang::mrYes;
}

} // namespace LoginPasswordCheck
