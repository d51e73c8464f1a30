#pragma once

#include <QString>

namespace db {

// Oracle error number for a failed statement, from its SQLSTATE and primary message.
int oraCodeForStatement(const QString& sqlState, const QString& message, bool connectionLost);
// Oracle error number for a failed connection attempt, from libpq's message. A host name that
// cannot be resolved, given directly or by a service entry, is a network failure (12545).
int oraCodeForConnect(const QString& message);

} // namespace db
