#include "orderspanel.h"

#include <terminalhost/datacenter.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/tradedata.h>

namespace {
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

COrdersPanel::COrdersPanel(int, EQrTraderType, QWidget* parent)
    : CRecordListPanel(QStringLiteral("orders_panel"),
                       {QStringLiteral("资金账号"), QStringLiteral("委托编号"), QStringLiteral("代码"), QStringLiteral("状态"),
                        QStringLiteral("数量"), QStringLiteral("价格")},
                       parent)
{
    onTimer(TimerUpdate_None);
}

void COrdersPanel::onTimer(int)
{
    countTimer();
    std::vector<QStringList> rows;
    CDataCenter* dataCenter = TraderCenter::instance()->getDataCenter();
    for (const std::string& key : m_accounts) {
        CAccountData* store = dataCenter->getAccountData(key);
        if (!store)
            continue;
        const QString accountId = accountIdOf(key);
        std::vector<IDataPtr> records;
        store->getVector(TradeData_OrderDetail, records);
        for (const IDataPtr& record : records) {
            const auto order = std::dynamic_pointer_cast<COrderDetail>(record);
            if (!order || (isShowingRunning() && COrderDetailHelper::completed(*order)))
                continue;
            rows.push_back({accountId, sToQs(order->getKey()), sToQs(order->code()),
                            statusText(order->status()), QString::number(order->volume()), formatDoubleNumber(order->price())});
        }
    }
    const QString caption = QStringLiteral("%1: %2 笔")
                                .arg(isShowingRunning() ? QStringLiteral("执行中委托") : QStringLiteral("全部委托"))
                                .arg(rows.size());
    showRows(std::move(rows), caption);
}
