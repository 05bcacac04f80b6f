#pragma once

#include <terminalhost/accountinfo.h>
#include <terminalhost/terminalhost_export.h>

#include <QObject>

#include <atomic>
#include <map>
#include <mutex>
#include <string>

/**
 * @brief The trade client: logs the user's accounts in and reports each result.
 *
 * sigLoginStatus may be emitted from any thread, as the real client's network thread does; its
 * argument types are registered with the meta-type system so that queued connections carry them.
 */
class TERMINALHOST_EXPORT CTradeClient : public QObject
{
    Q_OBJECT
public:
    static CTradeClient* instance();

    /// Records and reports a login result; safe from any thread.
    void reportLoginStatus(const CAccountInfoPtr& account, EBROKER_LOGIN_STATUS status, const std::string& message);
    /// The last login result of the account; disconnected for an account never reported.
    EBROKER_LOGIN_STATUS getLoginStatus(const std::string& accountKey) const;
    /// Announces that the account's data store is filled after a login.
    void reportAccountDataInited(const CAccountInfo& account);

    void setNotStopLevel2(bool keep) { m_notStopLevel2 = keep; }
    bool notStopLevel2() const { return m_notStopLevel2; }

    void reset();

signals:
    void sigLoginStatus(const CAccountInfoPtr& account, EBROKER_LOGIN_STATUS status, std::string message);
    void sigInitedAccountData(const CAccountInfo& account);

private:
    CTradeClient();
    std::atomic<bool> m_notStopLevel2{false};
    mutable std::mutex m_mutex;
    std::map<std::string, EBROKER_LOGIN_STATUS> m_loginStatus;
};

/// True once a login result means the account's data can be read.
TERMINALHOST_EXPORT bool isLoginStatusReady(EBROKER_LOGIN_STATUS status);
