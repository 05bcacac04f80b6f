#include "runningmarkswidget.h"

#include <statusbar/popcommonpaneldialog.h>

#include <terminalhost/userconfig.h>

#include <QTimer>

namespace {
constexpr int kRefreshIntervalMs = 500;
constexpr int kMarkRunning = 1;
constexpr int kMarkIdle = 0;
}

CRunningMarksWidget::CRunningMarksWidget(const Parts& parts, int panelKind, int mainWindowEvent, QWidget* parent)
    : CRunningCountWidget(parts, parent)
    , m_panelKind(panelKind)
    , m_mainWindowEvent(mainWindowEvent)
{
    m_refreshTimer = new QTimer(this);
    connect(m_refreshTimer, &QTimer::timeout, this, &CRunningMarksWidget::slotTimeout);
    m_refreshTimer->start(kRefreshIntervalMs);
}

CRunningMarksWidget::~CRunningMarksWidget()
{
    // The subclass has ended its subscriptions: no host thread reaches the marks any more.
    boost::recursive_mutex::scoped_lock lock(m_mutex);
    m_marks.clear();
}

bool CRunningMarksWidget::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type != Event_Click)
        return CRunningCountWidget::handleEvent(type, id, arg, text, data);
    if (getUserConfig()->popupRunningPanels) {
        if (!m_popupDialog)
            m_popupDialog = new CPopCommonPanelDialog(m_panelKind, this);
        m_popupDialog->showRunning();
        m_popupDialog->exec();
    } else {
        deliverEvent(m_mainWindowEvent, 0, 0, QString(), nullptr);
    }
    return true;
}

void CRunningMarksWidget::slotTimeout()
{
    int sum = 0;
    {
        boost::recursive_mutex::scoped_lock lock(m_mutex);
        sum = m_marks.sum();
    }
    // Drawn from the copy: the redraw may emit the resize signal, and a slot behind it must be free
    // to reload accounts, which waits for callbacks that need this lock.
    if (sum != m_shownCount)
        m_shownCount = sum;
    updateCount(m_shownCount);
}

void CRunningMarksWidget::setMark(const std::string& key, bool running)
{
    const int mark = running ? kMarkRunning : kMarkIdle;
    boost::recursive_mutex::scoped_lock lock(m_mutex);
    m_marks.update(key, mark);
}

void CRunningMarksWidget::clearMarks()
{
    boost::recursive_mutex::scoped_lock lock(m_mutex);
    m_marks.clear();
}
