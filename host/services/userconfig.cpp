#include "userconfig.h"

CUserConfig* CUserConfig::instance()
{
    static CUserConfig* config = new CUserConfig; // lives for the process; widgets may ask it while exiting
    return config;
}

CUserConfig* getUserConfig()
{
    return CUserConfig::instance();
}

void CUserConfig::setAccountFilter(const QString& accountKey, bool filtered)
{
    if (filtered == m_filteredAccounts.contains(accountKey))
        return;
    if (filtered)
        m_filteredAccounts.insert(accountKey);
    else
        m_filteredAccounts.remove(accountKey);
    emit sigRefreshAccount();
}

void CUserConfig::setAccountList(std::vector<CAccountInfoPtr> accounts)
{
    accountList = std::move(accounts);
    emit sigLoadAccounts();
}

void CUserConfig::reloadAccounts()
{
    emit sigLoadAccounts();
}

void CUserConfig::reset()
{
    m_onlyShowTradeModule = false;
    m_simpledModelLogin = false;
    m_useMiniLogin = false;
    m_orderService = false;
    m_showTradeType = true;
    m_varnoClientMode = false;
    m_varnoQuoteMode = false;
    m_fileOrderService = false;
    m_dbfOrderService = false;
    m_csvOrderService = false;
    m_filteredAccounts.clear();
    mode = 0;
    accountList.clear();
    popupRunningPanels = false;
    useNetworkTime = false;
}
