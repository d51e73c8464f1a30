#pragma once

#include <QString>

// The portal's password rules as the console applies them: the database judges a password, the
// console only turns its verdict into words and decides whether to ask at all.
namespace PasswordSecurity {

// The message for a result code of check_password_security: empty for "0" (accepted); any code
// it does not know is the list of characters the portal refused.
QString MessageForCode(const QString& code);

// The portal setting ADV_PASS_SECUR switches the check on only when it is exactly "1".
bool CheckEnabled(const QString& advPassSecur);

} // namespace PasswordSecurity
