#include "tradedockablewidget.h"

#include <terminalhost/hostutils.h>
#include <terminalhost/userconfig.h>

ITradeDockableWidget::ITradeDockableWidget(const QString& name, QWidget* parent)
    : CBaseWidget(name, false, parent)
{
}

void ITradeDockableWidget::refreshAccounts()
{
    logRequest(QStringLiteral("refreshAccounts"));
    m_accounts.clear();
    const CUserConfig* config = getUserConfig();
    for (const CAccountInfoPtr& account : config->accountList) {
        if (account && !config->isAccountFilter(sToQs(account->getKey())))
            m_accounts.insert(account->getKey());
    }
}

QString ITradeDockableWidget::accountIdOf(const std::string& accountKey)
{
    for (const CAccountInfoPtr& account : getUserConfig()->accountList) {
        if (account && account->getKey() == accountKey)
            return sToQs(account->accountId());
    }
    return sToQs(accountKey);
}

void ITradeDockableWidget::requestAccount(const CAccountInfo& account)
{
    logRequest(QStringLiteral("requestAccount:") + sToQs(account.getKey()));
    m_accounts.insert(account.getKey());
}

void ITradeDockableWidget::ignoreAccount(const std::string& accountKey)
{
    logRequest(QStringLiteral("ignoreAccount:") + sToQs(accountKey));
    m_accounts.erase(accountKey);
}
