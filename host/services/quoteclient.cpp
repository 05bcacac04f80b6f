#include "quoteclient.h"

CQuoteClient* CQuoteClient::instance()
{
    static CQuoteClient* client = new CQuoteClient; // lives for the process
    return client;
}

void CQuoteClient::setQuoteConnectNum(int count)
{
    if (count == m_connectNum)
        return;
    m_connectNum = count;
    emit sigQuoteConnectNum(m_connectNum);
}

void CQuoteClient::setHasQuoteTradeConnect(bool connected)
{
    if (connected == m_quoteTradeConnect)
        return;
    m_quoteTradeConnect = connected;
    emit sigQuoteConnectNum(m_connectNum);
}

void CQuoteClient::announce()
{
    emit sigQuoteConnectNum(m_connectNum);
}

void CQuoteClient::reset()
{
    m_connectNum = 0;
    m_quoteTradeConnect = false;
}

bool isHasQuoteTradeConnect()
{
    return CQuoteClient::instance()->hasQuoteTradeConnect();
}
