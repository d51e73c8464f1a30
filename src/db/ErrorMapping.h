#pragma once

#include <QString>

namespace db {

// Oracle error number for a failed statement, from its SQLSTATE and primary message.
int oraCodeForStatement(const QString& sqlState, const QString& message, bool connectionLost);
// Oracle error number for a failed connection attempt, from libpq's message. A host name that
// cannot be resolved counts as an unknown net service when the name came from a service entry.
int oraCodeForConnect(const QString& message, bool serverIsService);

} // namespace db
