#pragma once

#include <terminalhost/countedobject.h>
#include <terminalhost/terminalhost_export.h>

#include <memory>
#include <string>

/// @brief A record of the data center; the key names it among its kind.
class TERMINALHOST_EXPORT IData
{
public:
    virtual ~IData();
    virtual std::string getKey() const = 0;
    /// True once the record can no longer change (a filled order, a finished task): the data center
    /// may then age it out.
    virtual bool isCompleted() const;
};
using IDataPtr = std::shared_ptr<IData>;

/// Result of a trade account's login; 0 is success, every other value a kind of failure.
enum EBROKER_LOGIN_STATUS {
    BROKER_LOGIN_SUCCESS = 0,
    BROKER_LOGIN_CONNECTING = 1,
    BROKER_LOGIN_DISCONNECTED = 2,
    BROKER_LOGIN_FAILED = 3,
};

/// @brief A trade account: its key in the data center and its id as the broker shows it.
class TERMINALHOST_EXPORT CAccountInfo : public IData, private TCountedObject<CAccountInfo>
{
public:
    CAccountInfo() = default; // queued signals copy accounts through the meta-type system
    CAccountInfo(std::string key, std::string accountId, std::string brokerName = {});
    std::string getKey() const override { return m_key; }
    const std::string& accountId() const { return m_accountId; }
    const std::string& brokerName() const { return m_brokerName; }

private:
    std::string m_key;
    std::string m_accountId;
    std::string m_brokerName;
};
using CAccountInfoPtr = std::shared_ptr<CAccountInfo>;
