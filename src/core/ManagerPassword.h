#pragma once

#include <QString>

// The one rule for a regional manager's password, shared by the dialog that sets it and the
// regional sign-in that checks it, so that what was set can always be typed at sign-in: the text is
// taken exactly as typed (never trimmed), is not empty, and holds only characters of code page
// 1251, which the portal keeps the password in.
namespace ManagerPassword {

enum class Problem
{
    None,
    Empty,
    NotSingleByte
};

Problem Check(const QString& password);
// The message for a problem; empty for None.
QString ProblemText(Problem problem);

} // namespace ManagerPassword
