#pragma once

#include "accountinfo.h"
#include "terminalhost_export.h"

#include <QObject>

#include <atomic>
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

    /// Reports a login result; safe from any thread.
    void reportLoginStatus(const CAccountInfoPtr& account, EBROKER_LOGIN_STATUS status, const std::string& message);

    void setNotStopLevel2(bool keep) { m_notStopLevel2 = keep; }
    bool notStopLevel2() const { return m_notStopLevel2; }

    void reset();

signals:
    void sigLoginStatus(const CAccountInfoPtr& account, EBROKER_LOGIN_STATUS status, std::string message);

private:
    CTradeClient();
    std::atomic<bool> m_notStopLevel2{false};
};
