#include "runningtaskswidget.h"

#include <statusbar/popcommonpaneldialog.h>
#include <statusbar/statusbarevents.h>

#include <terminalhost/datacenter.h>
#include <terminalhost/rpcengine.h>
#include <terminalhost/tradedata.h>

#include <boost/asio/dispatch.hpp>

#include <vector>

namespace {
const char kExecutorName[] = "ui_process";
const CRunningCountWidget::Parts kParts{
    nullptr,
    " 执行中任务: ",
    " 任务: ",
    32, // px around caption and counter, in both forms
    32,
};

bool isRunning(const CTaskDetail& task)
{
    return task.status() == CTaskDetail::kStatusRunning;
}
}

CRunningTasksWidget::CRunningTasksWidget(QWidget* parent)
    : CRunningMarksWidget(kParts, CPopCommonPanelDialog::kTasksKind, StatusBarEvent::RunningTasks, parent)
    , m_executor(RPCEngine::instance()->getStrand(kExecutorName))
{
    CDataCenter* dataCenter = TraderCenter::instance()->getDataCenter();
    // Subscribe before the initial read: a task published in between is then delivered, or read,
    // or both, and never lost; deliveries come in publishing order, so the latest state wins.
    m_subscription = dataCenter->subscribe(
        std::string(), TradeData_TaskDetail, std::string(),
        [this, executor = m_executor](const IDataPtr& data) {
            boost::asio::dispatch(*executor, [this, data] { onTaskDetail(data); });
        });
    if (CAccountData* shared = dataCenter->getSharedData()) {
        std::vector<IDataPtr> tasks;
        shared->getVector(TradeData_TaskDetail, tasks);
        for (const IDataPtr& record : tasks) {
            if (const auto* task = dynamic_cast<const CTaskDetail*>(record.get()))
                setMark(task->getKey(), isRunning(*task));
        }
    }
    slotTimeout(); // the count read is shown now, not half a second later
}

CRunningTasksWidget::~CRunningTasksWidget()
{
    // No new callback after the handle is gone, but wrapped ones may still sit in the strand's
    // queue holding this pointer: let them run out before the marks and the item go.
    m_subscription.reset();
    if (m_executor)
        RPCEngine::waitForStrand(*m_executor);
}

void CRunningTasksWidget::numberWidened()
{
    emit sigResizeRunningTaskSize();
}

void CRunningTasksWidget::onTaskDetail(const IDataPtr& data)
{
    const auto* task = dynamic_cast<const CTaskDetail*>(data.get());
    if (!task)
        return;
    setMark(task->getKey(), isRunning(*task));
}
