#include "InvitationList.h"

#include "ClientsFilter.h"
#include "ClientsQuery.h"
#include "Dataset.h"

TInvitationList BuildInvitationList(db::Dataset& clients)
{
    TInvitationList list;
    if (!clients.isOpen())
        return list;
    const QString filter = clients.filter();
    const bool filtered = clients.isFiltered();
    const int current = clients.currentRow();
    const QVariant currentId = current < 0 ? QVariant() : clients.value(ClientsQuery::kIdField);

    clients.setFilter(ClientsFilter::TickedFilterText(filter, filtered));
    clients.setFiltered(true);
    const int id = clients.fieldIndex(ClientsQuery::kIdField);
    const int name = clients.fieldIndex(ClientsQuery::kDecodedNameField);
    const int petrolId = clients.fieldIndex(QStringLiteral("WBC_PETROL_ID"));
    const int email = clients.fieldIndex(QStringLiteral("WBC_EMAIL"));
    for (int row = 0; row < clients.recordCount(); ++row) {
        TInvitationEntry entry;
        entry.key = clients.value(row, id).toString();
        entry.client.WBC_NAME_ANSI = clients.value(row, name).toString();
        entry.client.WBC_PETROL_ID = clients.value(row, petrolId).toString();
        entry.client.WBC_EMAIL = clients.value(row, email).toString();
        list.append(entry);
    }

    clients.setFiltered(false);
    clients.setFilter(filter);
    clients.setFiltered(filtered);
    if (!currentId.isNull())
        clients.locate(ClientsQuery::kIdField, currentId);
    return list;
}
