#include "objectnummonitormodel.h"

#include <terminalhost/hostutils.h>

namespace {
constexpr bool kUniqueKeys = true; // one row per type name
constexpr int kThemeRowHeight = 0;
}

CObjectNumMonitorModel::CObjectNumMonitorModel()
    : IBaseHpfTableModel(kUniqueKeys)
{
}

int CObjectNumMonitorModel::getColumnCount() const
{
    return ColumnCount;
}

QString CObjectNumMonitorModel::getHeaderText(int column) const
{
    switch (column) {
    case ColName:
        return QStringLiteral("对象名称");
    case ColCreated:
        return QStringLiteral("创建数量");
    case ColAlive:
        return QStringLiteral("存活数量");
    default:
        return QString();
    }
}

int CObjectNumMonitorModel::getColumnKind(int column) const
{
    switch (column) {
    case ColName:
        return HpfColumn_Key;
    case ColCreated:
    case ColAlive:
        return HpfColumn_Int;
    default:
        return HpfColumn_Text;
    }
}

QString CObjectNumMonitorModel::getStatText(int column) const
{
    if (getColumnKind(column) != HpfColumn_Int)
        return QString();
    const int total = getStatColumnInt(column);
    return total == kNoIntValue ? QStringLiteral("0") : QString::number(total);
}

QString CObjectNumMonitorModel::getRowBackgroundKey(int row) const
{
    return (row & 1) ? QStringLiteral("clr_table_background2") : QStringLiteral("clr_table_background");
}

bool CObjectNumMonitorModel::isCellClickable(const IBaseHpfTableData&, int) const
{
    return false;
}

int CObjectNumMonitorModel::getRowHeight() const
{
    return kThemeRowHeight;
}
