#include "strategytrademanager.h"

#include <terminalhost/formulamanager.h>

#include <QTimer>

CStrategyTradeManager::CStrategyTradeManager()
{
    // Reports may come from another thread; queued, they need their argument type known by name.
    qRegisterMetaType<std::string>("std::string");
}

CStrategyTradeManager* CStrategyTradeManager::instance()
{
    static CStrategyTradeManager* manager = new CStrategyTradeManager; // lives for the process
    return manager;
}

void CStrategyTradeManager::startProcess(const std::string& requestId, const std::string& name)
{
    m_running[requestId] = name;
    // The strategy runs as a model of the formula engine, which accounts for it in its memory.
    CFormulaManager::instance()->addRunningModel(MemoryCategory_Strategy, requestId, name);
    emit sigProcessStatus(requestId, name, true);
}

void CStrategyTradeManager::finishProcess(const std::string& requestId)
{
    const auto it = m_running.find(requestId);
    if (it == m_running.end())
        return;
    const std::string name = it->second;
    m_running.erase(it);
    CFormulaManager::instance()->removeRunningModel(MemoryCategory_Strategy, requestId);
    emit sigProcessStatus(requestId, name, false);
}

void CStrategyTradeManager::stopStrategyProcess(const QString& requestId)
{
    m_stopRequests << requestId;
    const std::string id = requestId.toStdString();
    QTimer::singleShot(0, this, [this, id] { finishProcess(id); });
}

void CStrategyTradeManager::stopAllProcess()
{
    m_stopRequests << QStringLiteral("*");
    for (const auto& entry : m_running) {
        const std::string id = entry.first;
        QTimer::singleShot(0, this, [this, id] { finishProcess(id); });
    }
}

QStringList CStrategyTradeManager::runningProcesses() const
{
    QStringList ids;
    for (const auto& entry : m_running)
        ids << QString::fromStdString(entry.first);
    return ids;
}

std::string CStrategyTradeManager::processName(const std::string& requestId) const
{
    const auto it = m_running.find(requestId);
    return it == m_running.end() ? std::string() : it->second;
}

void CStrategyTradeManager::reset()
{
    for (const auto& entry : m_running)
        CFormulaManager::instance()->removeRunningModel(MemoryCategory_Strategy, entry.first);
    m_running.clear();
    m_stopRequests.clear();
}
