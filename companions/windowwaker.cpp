#include "windowwaker.h"

#include <QTimer>
#include <QWidget>

namespace {
constexpr int kCoalesceMs = 100; // requests closer than this are one wake
}

CWindowWaker::CWindowWaker(QWidget* window)
    : QObject(window)
    , m_window(window)
{
    m_coalesce = new QTimer(this);
    m_coalesce->setSingleShot(true);
    m_coalesce->setInterval(kCoalesceMs);
    connect(m_coalesce, &QTimer::timeout, this, &CWindowWaker::wake);
}

void CWindowWaker::requestWake()
{
    if (!m_coalesce->isActive())
        m_coalesce->start();
}

void CWindowWaker::wake()
{
    m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    emit sigWoken();
}
