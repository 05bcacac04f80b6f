#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <string>

/**
 * @brief Runs the user's strategies as processes and reports each start and end.
 *
 * Each running strategy is a model of the formula engine (CFormulaManager::addRunningModel).
 * A stop request does not end a process at once: the end report follows when the process has
 * exited, on the next turn of the event loop here.
 */
class TERMINALHOST_EXPORT CStrategyTradeManager : public QObject
{
    Q_OBJECT
public:
    static CStrategyTradeManager* instance();

    /// Starts a strategy process and reports it running.
    void startProcess(const std::string& requestId, const std::string& name);
    /// Asks one process to stop; its end report follows.
    void stopStrategyProcess(const QString& requestId);
    /// Asks every process to stop; their end reports follow.
    void stopAllProcess();
    /// Ends a process as if it had exited by itself.
    void finishProcess(const std::string& requestId);

    /// Request ids of the running processes, in id order.
    QStringList runningProcesses() const;
    /// The name a running process was started with; empty for one that does not run.
    std::string processName(const std::string& requestId) const;
    /// The stop requests received so far, "*" standing for stop-all.
    QStringList stopRequests() const { return m_stopRequests; }

    void reset();

signals:
    void sigProcessStatus(const std::string& requestId, const std::string& name, bool running);

private:
    CStrategyTradeManager();
    std::map<std::string, std::string> m_running; ///< request id -> name
    QStringList m_stopRequests;
};
