#include "orderspanel.h"

#include "standardtable.h"
#include "uiresource.h"

#include <datacenter.h>
#include <hostutils.h>
#include <tradedata.h>

#include <QLabel>
#include <QVBoxLayout>

namespace {
// The panel shows the newest orders; a flood of history would only slow the refresh down.
constexpr int kMaxRows = 500;
constexpr int kTableFlags = CStandardTable::Flag_HeaderVisible | CStandardTable::Flag_RowSelect
    | CStandardTable::Flag_HoverRow | CStandardTable::Flag_AlternateRows;

QString statusText(EOrderStatus status)
{
    switch (status) {
    case OrderStatus_Submitting: return QStringLiteral("报单中");
    case OrderStatus_Queued: return QStringLiteral("已报");
    case OrderStatus_PartFilled: return QStringLiteral("部成");
    case OrderStatus_Filled: return QStringLiteral("已成");
    case OrderStatus_Cancelled: return QStringLiteral("已撤");
    case OrderStatus_Rejected: return QStringLiteral("废单");
    }
    return QString();
}
}

COrdersPanel::COrdersPanel(int style, EQrTraderType, QWidget* parent)
    : ITradeDockableWidget(QStringLiteral("orders_panel"), parent)
    , m_table(new CStandardTable(style, this, kTableFlags))
    , m_caption(new QLabel(this))
{
    const QStringList headers{QStringLiteral("资金账号"), QStringLiteral("委托编号"), QStringLiteral("代码"),
                              QStringLiteral("状态"), QStringLiteral("数量"), QStringLiteral("价格")};
    m_table->setColumnCount(headers.size());
    for (int column = 0; column < headers.size(); ++column)
        m_table->setHeaderText(column, headers.at(column));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->addWidget(m_caption);
    layout->addWidget(m_table, 1);
    m_caption->setStyleSheet(QStringLiteral("color: %1;").arg(CUiResource::instance()->getColor(QStringLiteral("clr_table_text")).name()));
    onTimer(0);
}

void COrdersPanel::showRunning()
{
    logRequest(QStringLiteral("showRunning"));
    m_runningOnly = true;
    onTimer(0);
}

void COrdersPanel::onTimer(int)
{
    countTimer();
    std::vector<COrderDetailPtr> shown;
    int total = 0;
    CDataCenter* dataCenter = TraderCenter::instance()->getDataCenter();
    for (const std::string& key : m_accounts) {
        CAccountData* store = dataCenter->getAccountData(key);
        if (!store)
            continue;
        std::vector<IDataPtr> records;
        store->getVector(TradeData_OrderDetail, records);
        for (const IDataPtr& record : records) {
            auto order = std::dynamic_pointer_cast<COrderDetail>(record);
            if (!order || (m_runningOnly && COrderDetailHelper::completed(*order)))
                continue;
            ++total;
            shown.push_back(order);
        }
    }
    if (shown.size() > static_cast<std::size_t>(kMaxRows))
        shown.erase(shown.begin(), shown.end() - kMaxRows);

    while (m_table->rowCount() > static_cast<int>(shown.size()))
        m_table->removeRow(m_table->rowID(m_table->rowCount() - 1));
    while (m_table->rowCount() < static_cast<int>(shown.size()))
        m_table->appendRow();
    for (int index = 0; index < static_cast<int>(shown.size()); ++index) {
        const COrderDetail& order = *shown[index];
        const int row = m_table->rowID(index);
        m_table->setItemText(row, 0, sToQs(order.accountKey()), false);
        m_table->setItemText(row, 1, sToQs(order.getKey()), false);
        m_table->setItemText(row, 2, sToQs(order.code()), false);
        m_table->setItemText(row, 3, statusText(order.status()), false);
        m_table->setItemText(row, 4, QString::number(order.volume()), false);
        m_table->setItemText(row, 5, formatDoubleNumber(order.price()), true);
    }
    m_caption->setText(QStringLiteral("%1: %2 笔").arg(m_runningOnly ? QStringLiteral("执行中委托") : QStringLiteral("全部委托")).arg(total));
}
