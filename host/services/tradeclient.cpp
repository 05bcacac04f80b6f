#include "tradeclient.h"

#include <QMetaType>

Q_DECLARE_METATYPE(CAccountInfoPtr)
Q_DECLARE_METATYPE(EBROKER_LOGIN_STATUS)
Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(CAccountInfo)

CTradeClient* CTradeClient::instance()
{
    static CTradeClient* client = new CTradeClient; // lives for the process; other threads may still report
    return client;
}

CTradeClient::CTradeClient()
{
    qRegisterMetaType<CAccountInfoPtr>("CAccountInfoPtr");
    qRegisterMetaType<EBROKER_LOGIN_STATUS>("EBROKER_LOGIN_STATUS");
    qRegisterMetaType<std::string>("std::string");
    qRegisterMetaType<CAccountInfo>("CAccountInfo");
}

void CTradeClient::reportLoginStatus(const CAccountInfoPtr& account, EBROKER_LOGIN_STATUS status, const std::string& message)
{
    if (account) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_loginStatus[account->getKey()] = status;
    }
    emit sigLoginStatus(account, status, message);
}

EBROKER_LOGIN_STATUS CTradeClient::getLoginStatus(const std::string& accountKey) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_loginStatus.find(accountKey);
    return it == m_loginStatus.end() ? BROKER_LOGIN_DISCONNECTED : it->second;
}

void CTradeClient::reportAccountDataInited(const CAccountInfo& account)
{
    emit sigInitedAccountData(account);
}

bool isLoginStatusReady(EBROKER_LOGIN_STATUS status)
{
    return status == BROKER_LOGIN_SUCCESS;
}

void CTradeClient::reset()
{
    m_notStopLevel2 = false;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_loginStatus.clear();
}
