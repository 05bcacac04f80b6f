#include "basetablecolumndelegate.h"

#include <terminalhost/eventdeliverer.h>

CBaseTableColumnDelegate::CBaseTableColumnDelegate(int id, CEventDeliverer* deliverer)
    : m_id(id)
    , m_deliverer(deliverer)
{
}

bool CBaseTableColumnDelegate::isClickable(const QString&) const
{
    return false;
}

void CBaseTableColumnDelegate::cellClicked(const QString& key)
{
    if (m_deliverer && isClickable(key))
        m_deliverer->deliverEvent(Event_TableCellClick, m_id, 0, key, nullptr);
}
