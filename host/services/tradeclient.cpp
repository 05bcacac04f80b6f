#include "tradeclient.h"

#include <QMetaType>

Q_DECLARE_METATYPE(CAccountInfoPtr)
Q_DECLARE_METATYPE(EBROKER_LOGIN_STATUS)
Q_DECLARE_METATYPE(std::string)

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
}

void CTradeClient::reportLoginStatus(const CAccountInfoPtr& account, EBROKER_LOGIN_STATUS status, const std::string& message)
{
    emit sigLoginStatus(account, status, message);
}

void CTradeClient::reset()
{
    m_notStopLevel2 = false;
}
