#include "baskettaskspanel.h"

#include <terminalhost/datacenter.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/tradedata.h>

CBasketTasksPanel::CBasketTasksPanel(const QString& name, QWidget* parent)
    : CRecordListPanel(name, {QStringLiteral("任务编号"), QStringLiteral("资金账号"), QStringLiteral("任务名称"), QStringLiteral("状态")},
                       parent)
{
    onTimer(TimerUpdate_None);
}

void CBasketTasksPanel::onTimer(int)
{
    countTimer();
    // Tasks are listed for every account, as the terminal's task list does.
    std::vector<IDataPtr> records;
    TraderCenter::instance()->getDataCenter()->getSharedData()->getVector(TradeData_TaskDetail, records);
    std::vector<QStringList> rows;
    for (const IDataPtr& record : records) {
        const auto task = std::dynamic_pointer_cast<CTaskDetail>(record);
        const bool running = task && task->status() == CTaskDetail::kStatusRunning;
        if (!task || (isShowingRunning() && !running))
            continue;
        rows.push_back({sToQs(task->getKey()), accountIdOf(task->accountKey()), sToQs(task->name()),
                        running ? QStringLiteral("运行中") : QStringLiteral("已停止")});
    }
    const QString caption = QStringLiteral("%1: %2 个")
                                .arg(isShowingRunning() ? QStringLiteral("执行中任务") : QStringLiteral("全部任务"))
                                .arg(rows.size());
    showRows(std::move(rows), caption);
}

CIntegratedTasksPanel::CIntegratedTasksPanel(int, QWidget* parent)
    : CBasketTasksPanel(QStringLiteral("integrated_tasks_panel"), parent)
{
}
