#include "timeservice.h"

#include <QDateTime>
#include <QTimer>

namespace {
constexpr int kTickMs = 1000;
}

CTimeService* CTimeService::instance()
{
    static CTimeService* service = new CTimeService; // lives for the process
    return service;
}

CTimeService::CTimeService()
    : m_timer(new QTimer(this))
{
    m_timer->setInterval(kTickMs);
    connect(m_timer, &QTimer::timeout, this, &CTimeService::tick);
    m_timer->start();
}

void CTimeService::setTicking(bool on)
{
    if (on)
        m_timer->start();
    else
        m_timer->stop();
}

bool CTimeService::isTicking() const
{
    return m_timer->isActive();
}

void CTimeService::publishTime(int seconds)
{
    emit sigTimeUpdate(seconds);
}

void CTimeService::tick()
{
    publishTime(static_cast<int>(QDateTime::currentSecsSinceEpoch()));
}

CTimeService* getTimeService()
{
    return CTimeService::instance();
}
