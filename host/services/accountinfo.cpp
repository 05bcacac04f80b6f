#include "accountinfo.h"

IData::~IData() = default;

bool IData::isCompleted() const
{
    return false;
}

CAccountInfo::CAccountInfo(std::string key, std::string accountId, std::string brokerName)
    : m_key(std::move(key))
    , m_accountId(std::move(accountId))
    , m_brokerName(std::move(brokerName))
{
}
