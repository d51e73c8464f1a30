#include "ManagerQueries.h"

QString ManagerQueries::Managers::sql()
{
    return QStringLiteral("SELECT * FROM &shema.V_TEV_MANAGER\r\n&ORDER &FIELD");
}

QString ManagerQueries::Emitents::sql()
{
    return QStringLiteral("select * from &shema.v_emitent_tev_manager t WHERE t.manager_id = :MANAGER_ID\r\n"
                          "&order\r\n&field");
}
