#include "orderservice.h"

COrderService* COrderService::instance()
{
    static COrderService* service = new COrderService; // lives for the process
    return service;
}

void COrderService::setRunning(bool running)
{
    if (running == m_running)
        return;
    m_running = running;
    emit sigSetStatus(m_running);
}

void COrderService::reset()
{
    m_running = false;
    m_statusTip.clear();
}
