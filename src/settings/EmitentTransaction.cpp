#include "EmitentTransaction.h"

#include "Session.h"

namespace emitentsettings {

void inOneTransaction(db::Session& session, const std::function<void()>& calls)
{
    try {
        session.startTransaction();
        calls();
        session.commit();
    } catch (...) {
        if (session.connected())
            session.rollback();
        throw;
    }
}

} // namespace emitentsettings
