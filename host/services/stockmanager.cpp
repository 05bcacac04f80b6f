#include "stockmanager.h"

CStockManager* CStockManager::instance()
{
    static CStockManager* manager = new CStockManager; // lives for the process
    return manager;
}

CInstrumentDetailPtr CStockManager::getInstrumentDetail(const QString& code) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_instruments.find(code);
    return it == m_instruments.end() ? nullptr : it->second;
}

void CStockManager::addInstrument(const CInstrumentDetail& detail)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_instruments[QString::fromStdString(detail.code)] = std::make_shared<const CInstrumentDetail>(detail);
}

bool CStockManager::removeInstrument(const QString& code)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_instruments.erase(code) > 0;
}

QStringList CStockManager::codes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QStringList result;
    for (const auto& entry : m_instruments)
        result << entry.first;
    return result;
}

void CStockManager::finishStockList()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_finished = true;
    }
    emit sigStockListFinish();
}

bool CStockManager::isStockListFinished() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_finished;
}

void CStockManager::reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_instruments.clear();
    m_finished = false;
}
