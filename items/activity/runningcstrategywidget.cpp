#include "runningcstrategywidget.h"

#include <statusbar/strategyrunningdialog.h>

#include <terminalhost/hostutils.h>
#include <terminalhost/strategytrademanager.h>

namespace {
const char kObjectName[] = "running_cstrategy_widget";
const CRunningCountWidget::Parts kParts{
    nullptr,
    " 执行中策略: ",
    " 策略: ",
    12, // px the full form adds to its two texts
    14, // px the compact form adds to its two texts
};
}

CRunningCStrategyWidget::CRunningCStrategyWidget(QWidget* parent)
    : CRunningCountWidget(kParts, parent)
{
    setObjectName(QLatin1String(kObjectName));

    m_dialog = new CStrategyRunningDialog(this);
    m_dialog->hide();

    connect(m_dialog, &CStrategyRunningDialog::sigStrategyRemove, this, &CRunningCStrategyWidget::slotStrategyRemove);
    CStrategyTradeManager* manager = CStrategyTradeManager::instance();
    connect(manager, &CStrategyTradeManager::sigProcessStatus, this, &CRunningCStrategyWidget::slotsProcessStatus);
    // The manager reports starts and ends only: what already runs (a bar rebuilt for a new scale)
    // is taken from it here, or the counter would show 0 until the next report.
    for (const QString& id : manager->runningProcesses()) {
        const std::string requestId = qsToS(id);
        slotsProcessStatus(requestId, manager->processName(requestId), true);
    }
    resize(getMaxWidth(), height());
}

CRunningCStrategyWidget::~CRunningCStrategyWidget()
{
    disconnect();
    CStrategyTradeManager::instance()->disconnect(this);
    m_dialog->disconnect(this);
    m_runningIds.clear();
}

void CRunningCStrategyWidget::slotsProcessStatus(const std::string& requestId, const std::string& name, bool running)
{
    const QString id = sToQs(requestId);
    if (running) {
        m_dialog->addStrategy(id, sToQs(name));
        m_runningIds.insert(id);
    } else {
        m_runningIds.remove(id);
        m_dialog->removeStrategy(id);
    }
    updateCount(m_runningIds.size());
}

void CRunningCStrategyWidget::slotStrategyRemove(const QString& requestId)
{
    // The counter stays until the manager reports the process ended.
    if (!m_runningIds.remove(requestId))
        return;
    CStrategyTradeManager::instance()->stopStrategyProcess(requestId);
}

bool CRunningCStrategyWidget::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type == Event_Click) {
        m_dialog->show();
        m_dialog->raise();
        return true;
    }
    return CRunningCountWidget::handleEvent(type, id, arg, text, data);
}

void CRunningCStrategyWidget::numberWidened()
{
    emit sigResizeRunningStrategySize();
}
