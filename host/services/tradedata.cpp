#include "tradedata.h"

COrderDetail::COrderDetail(std::string orderId, std::string accountKey, std::string code, EOrderStatus status, int volume,
                           double price)
    : m_orderId(std::move(orderId))
    , m_accountKey(std::move(accountKey))
    , m_code(std::move(code))
    , m_status(status)
    , m_volume(volume)
    , m_price(price)
{
}

bool COrderDetail::isCompleted() const
{
    return COrderDetailHelper::completed(*this);
}

bool COrderDetailHelper::completed(const COrderDetail& order)
{
    switch (order.status()) {
    case OrderStatus_Filled:
    case OrderStatus_Cancelled:
    case OrderStatus_Rejected:
        return true;
    default:
        return false;
    }
}

CTaskDetail::CTaskDetail(std::string taskId, std::string accountKey, std::string name, int status)
    : m_taskId(std::move(taskId))
    , m_accountKey(std::move(accountKey))
    , m_name(std::move(name))
    , m_status(status)
{
}

bool CTaskDetail::isCompleted() const
{
    return m_status == kStatusFinished || m_status == kStatusStopped;
}
