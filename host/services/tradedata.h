#pragma once

#include <terminalhost/accountinfo.h>
#include <terminalhost/countedobject.h>
#include <terminalhost/terminalhost_export.h>

#include <memory>
#include <string>

/// Record types of the data center.
enum ETradeDataType {
    TradeData_TaskDetail = 541,
    TradeData_OrderDetail = 542,
};

/// Life of an order at the exchange.
enum EOrderStatus {
    OrderStatus_Submitting = 0,
    OrderStatus_Queued = 1,
    OrderStatus_PartFilled = 2,
    OrderStatus_Filled = 3,
    OrderStatus_Cancelled = 4,
    OrderStatus_Rejected = 5,
};

/// @brief One order as the trade client last reported it. Records are not changed once published:
/// a new state arrives as a new record with the same key.
class TERMINALHOST_EXPORT COrderDetail : public IData, private TCountedObject<COrderDetail>
{
public:
    COrderDetail(std::string orderId, std::string accountKey, std::string code, EOrderStatus status, int volume = 0,
                 double price = 0.0);
    std::string getKey() const override { return m_orderId; }
    bool isCompleted() const override;
    const std::string& accountKey() const { return m_accountKey; }
    const std::string& code() const { return m_code; }
    EOrderStatus status() const { return m_status; }
    int volume() const { return m_volume; }
    double price() const { return m_price; }

private:
    std::string m_orderId;
    std::string m_accountKey;
    std::string m_code;
    EOrderStatus m_status;
    int m_volume;
    double m_price;
};
using COrderDetailPtr = std::shared_ptr<COrderDetail>;

/// @brief Questions about orders that several views ask the same way.
class TERMINALHOST_EXPORT COrderDetailHelper
{
public:
    /// True once the order can no longer trade: filled, cancelled or rejected.
    static bool completed(const COrderDetail& order);
};

/// @brief One trading task (an algorithmic or basket order) and its status code.
class TERMINALHOST_EXPORT CTaskDetail : public IData, private TCountedObject<CTaskDetail>
{
public:
    static constexpr int kStatusRunning = 3;
    static constexpr int kStatusFinished = 4;
    static constexpr int kStatusStopped = 5; ///< stopped by the user

    CTaskDetail(std::string taskId, std::string accountKey, std::string name, int status);
    std::string getKey() const override { return m_taskId; }
    /// Finished or stopped; the other codes (waiting, running, paused ...) may still change.
    bool isCompleted() const override;
    const std::string& accountKey() const { return m_accountKey; }
    const std::string& name() const { return m_name; }
    int status() const { return m_status; }

private:
    std::string m_taskId;
    std::string m_accountKey;
    std::string m_name;
    int m_status;
};
using CTaskDetailPtr = std::shared_ptr<CTaskDetail>;
