#pragma once

#include <QString>

class QWidget;
class TdmMain;

namespace LoginPasswordCheck {

// With the portal's password check on, a password it refuses needs the administrator's Yes to
// the question of `questionKey` (its %s is the portal's reason). True when the caller may go on.
bool Confirm(TdmMain& dm, QWidget* owner, const QString& password, const char16_t* questionKey);

} // namespace LoginPasswordCheck
