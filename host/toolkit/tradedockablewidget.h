#pragma once

#include <terminalhost/basewidget.h>

#include <terminalhost/accountinfo.h>

#include <QStringList>

#include <set>
#include <string>

/// What a panel's timer should refresh; 0 asks for the regular refresh.
enum ETimerUpdateFlag {
    TimerUpdate_None = 0,
    TimerUpdate_Full = 1,
};

/// Trader types a panel shows (bits); 0xf3ffff is every kind the terminal trades.
using EQrTraderType = int;

/**
 * @brief Base of the terminal's trade panels (orders, messages, tasks): a view of the data center
 * that follows the accounts and refreshes on its owner's timer.
 */
class TERMINALHOST_EXPORT ITradeDockableWidget : public CBaseWidget
{
    Q_OBJECT
public:
    ITradeDockableWidget(const QString& name, QWidget* parent);

    /// Refreshes what changed since the last call.
    virtual void onTimer(int updateFlags) = 0;
    /// Reloads every account of the user configuration.
    virtual void refreshAccounts();
    /// Takes in (again) one account's data.
    virtual void requestAccount(const CAccountInfo& account);
    /// Forgets an account's rows until it is requested again.
    virtual void ignoreAccount(const std::string& accountKey);

    /// Accounts whose data the panel shows.
    const std::set<std::string>& accounts() const { return m_accounts; }
    /// The account and view requests the panel received, oldest first ("refreshAccounts",
    /// "requestAccount:<key>", "ignoreAccount:<key>", "showRunning"), for the terminal's diagnostics.
    const QStringList& requestLog() const { return m_requestLog; }
    int timerCount() const { return m_timerCount; }

protected:
    void logRequest(const QString& request) { m_requestLog << request; }
    /// The account as the user knows it (its broker's id, as the trade tag lists it); the key itself
    /// for an account the user configuration does not hold.
    static QString accountIdOf(const std::string& accountKey);
    void countTimer() { ++m_timerCount; }

    std::set<std::string> m_accounts;

private:
    QStringList m_requestLog;
    int m_timerCount = 0;
};
