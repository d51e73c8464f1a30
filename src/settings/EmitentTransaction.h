#pragma once

#include <functional>

namespace db {
class Session;
}

namespace emitentsettings {

// Runs portal calls as one transaction: one commit when all succeed; on the first failure all of
// them are rolled back and the error passes on.
void inOneTransaction(db::Session& session, const std::function<void()>& calls);

} // namespace emitentsettings
