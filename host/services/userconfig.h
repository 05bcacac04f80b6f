#pragma once

#include <terminalhost/accountinfo.h>
#include <terminalhost/terminalhost_export.h>

#include <QObject>
#include <QSet>
#include <QString>

#include <vector>

/**
 * @brief The logged-in user's configuration. Every query has a setter; setters that change what a
 * signal reports emit it.
 */
class TERMINALHOST_EXPORT CUserConfig : public QObject
{
    Q_OBJECT
public:
    static CUserConfig* instance();

    bool isOnlyShowTradeModule() const { return m_onlyShowTradeModule; }
    void setOnlyShowTradeModule(bool on) { m_onlyShowTradeModule = on; }
    bool isSimpledModelLogin() const { return m_simpledModelLogin; }
    void setSimpledModelLogin(bool on) { m_simpledModelLogin = on; }
    bool isUseMiniLogin() const { return m_useMiniLogin; }
    void setUseMiniLogin(bool on) { m_useMiniLogin = on; }
    bool hasOrderService() const { return m_orderService; }
    void setHasOrderService(bool on) { m_orderService = on; }
    bool canShowTradeType() const { return m_showTradeType; }
    void setCanShowTradeType(bool on) { m_showTradeType = on; }
    bool isVarnoClientMode() const { return m_varnoClientMode; }
    void setVarnoClientMode(bool on) { m_varnoClientMode = on; }
    bool isVarnoQuoteMode() const { return m_varnoQuoteMode; }
    void setVarnoQuoteMode(bool on) { m_varnoQuoteMode = on; }
    /// Orders fed from files, DBF tables and CSV files: which of the order services the user has.
    bool hasFileOrderService() const { return m_fileOrderService; }
    void setHasFileOrderService(bool on) { m_fileOrderService = on; }
    bool hasDbfOrderService() const { return m_dbfOrderService; }
    void setHasDbfOrderService(bool on) { m_dbfOrderService = on; }
    bool hasCsvOrderService() const { return m_csvOrderService; }
    void setHasCsvOrderService(bool on) { m_csvOrderService = on; }

    /// Accounts whose key is filtered are hidden from every account view.
    bool isAccountFilter(const QString& accountKey) const { return m_filteredAccounts.contains(accountKey); }
    void setAccountFilter(const QString& accountKey, bool filtered);

    /// How the terminal is laid out; 2 is the pure quote layout without trading panels.
    int mode = 0;
    /// The user's trade accounts, in the order the user added them.
    std::vector<CAccountInfoPtr> accountList;
    /// Running orders and tasks open in a popup panel instead of the main window's views.
    bool popupRunningPanels = false;
    /// The clock follows the network standard time instead of the local clock.
    bool useNetworkTime = false;

    /// Replaces the account list and announces it.
    void setAccountList(std::vector<CAccountInfoPtr> accounts);
    /// Announces the account list again, as the terminal does when a trading day begins: views
    /// that mirror the accounts' data rebuild it.
    void reloadAccounts();

    void reset();

signals:
    void sigRefreshAccount();
    void sigLoadAccounts();

private:
    CUserConfig() = default;

    bool m_onlyShowTradeModule = false;
    bool m_simpledModelLogin = false;
    bool m_useMiniLogin = false;
    bool m_orderService = false;
    bool m_showTradeType = true;
    bool m_varnoClientMode = false;
    bool m_varnoQuoteMode = false;
    bool m_fileOrderService = false;
    bool m_dbfOrderService = false;
    bool m_csvOrderService = false;
    QSet<QString> m_filteredAccounts;
};

/// The user configuration, as the terminal reaches it.
TERMINALHOST_EXPORT CUserConfig* getUserConfig();
