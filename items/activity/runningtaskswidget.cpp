#include "runningtaskswidget.h"

#include <statusbar/statusbarevents.h>
#include <statusbar/popcommonpaneldialog.h>

#include <terminalhost/datacenter.h>
#include <terminalhost/rpcengine.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/tradedata.h>
#include <terminalhost/userconfig.h>

#include <QTimer>

#include <boost/bind/bind.hpp>

#include <vector>

namespace {
const char kObjectName[] = "running_tasks_widget";
const char kExecutorName[] = "ui_process";
const char kFullCaption[] = " 执行中任务: ";
const char kLiteCaption[] = " 任务: ";
constexpr int kRefreshIntervalMs = 500;
constexpr int kPadding = 32;      // px around caption and counter, in both forms
constexpr int kLeftMargin = 10;   // px before the caption
constexpr int kCaptionGap = 12;   // px added after the caption's width
constexpr int kMarkRunning = 1;
constexpr int kMarkIdle = 0;

int taskMark(const CTaskDetail& task)
{
    return task.status() == CTaskDetail::kStatusRunning ? kMarkRunning : kMarkIdle;
}
}

CRunningTasksWidget::CRunningTasksWidget(QWidget* parent)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_texts(QString::fromUtf8(kFullCaption), QString::fromUtf8(kLiteCaption), this)
    , m_executor(RPCEngine::instance()->getStrand(kExecutorName))
{
    CDataCenter* dataCenter = TraderCenter::instance()->getDataCenter();
    // Subscribe before the initial read: a task published in between is then delivered, or read,
    // or both, and never lost; deliveries come in publishing order, so the latest state wins.
    m_subscription = dataCenter->subscribe(
        std::string(), TradeData_TaskDetail, std::string(),
        m_executor->wrap(boost::bind(&CRunningTasksWidget::onTaskDetail, this, boost::placeholders::_1)));
    if (CAccountData* shared = dataCenter->getSharedData()) {
        std::vector<IDataPtr> tasks;
        shared->getVector(TradeData_TaskDetail, tasks);
        for (const IDataPtr& record : tasks) {
            if (const auto* task = dynamic_cast<const CTaskDetail*>(record.get())) {
                boost::recursive_mutex::scoped_lock lock(m_mutex);
                m_taskMarks.update(task->getKey(), taskMark(*task));
            }
        }
    }

    m_refreshTimer = new QTimer(this);
    connect(m_refreshTimer, &QTimer::timeout, this, &CRunningTasksWidget::slotTimeout);
    m_refreshTimer->start(kRefreshIntervalMs);
}

CRunningTasksWidget::~CRunningTasksWidget()
{
    // No new callback after the handle is gone, but wrapped ones may still sit in the strand's
    // queue holding this pointer: let them run out before the marks and the item go.
    m_subscription.reset();
    if (m_executor)
        RPCEngine::waitForStrand(*m_executor);
    {
        boost::recursive_mutex::scoped_lock lock(m_mutex);
        m_taskMarks.clear();
    }
    m_executor.reset();
}

void CRunningTasksWidget::updateCount(int count)
{
    if (m_texts.showCount(count))
        emit sigResizeRunningTaskSize();
    resize(getMaxWidth(), height());
    placeChildren();
}

void CRunningTasksWidget::switchToLite(bool lite)
{
    m_texts.showCaption(lite);
}

int CRunningTasksWidget::getMaxWidth()
{
    m_texts.showCaption(false);
    return m_texts.textWidth() + kPadding;
}

int CRunningTasksWidget::getMinWidth()
{
    m_texts.showCaption(true);
    return m_texts.textWidth() + kPadding;
}

bool CRunningTasksWidget::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type != Event_Click)
        return CItemBaseWidget::handleEvent(type, id, arg, text, data);
    if (getUserConfig()->popupRunningPanels) {
        if (!m_popupDialog)
            m_popupDialog = new CPopCommonPanelDialog(CPopCommonPanelDialog::kTasksKind, this);
        m_popupDialog->showRunning();
        m_popupDialog->exec();
    } else {
        deliverEvent(StatusBarEvent::RunningTasks, 0, 0, QString(), nullptr);
    }
    return true;
}

void CRunningTasksWidget::onTaskDetail(const IDataPtr& data)
{
    const auto* task = dynamic_cast<const CTaskDetail*>(data.get());
    if (!task)
        return;
    const int mark = taskMark(*task);
    boost::recursive_mutex::scoped_lock lock(m_mutex);
    m_taskMarks.update(task->getKey(), mark);
}

void CRunningTasksWidget::slotTimeout()
{
    int sum = 0;
    {
        boost::recursive_mutex::scoped_lock lock(m_mutex);
        sum = m_taskMarks.sum();
    }
    // Drawn from the copy, so that nothing behind the resize signal runs under the lock.
    if (sum != m_shownCount)
        m_shownCount = sum;
    updateCount(m_shownCount);
}

void CRunningTasksWidget::resizeEvent(QResizeEvent* event)
{
    CItemBaseWidget::resizeEvent(event);
    placeChildren();
}

void CRunningTasksWidget::placeChildren()
{
    const int h = height();
    int x = kLeftMargin;
    CSimpleTextWidget* label = m_texts.label();
    label->move(kLeftMargin, (h - label->height()) / 2);
    x = label->width() + kCaptionGap;
    m_texts.counter()->move(x, (h - m_texts.counter()->height()) / 2);
}
