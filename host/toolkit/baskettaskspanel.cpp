#include "baskettaskspanel.h"

#include "standardtable.h"
#include "uiresource.h"

#include <datacenter.h>
#include <hostutils.h>
#include <tradedata.h>

#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kMaxRows = 500;
constexpr int kTableFlags = CStandardTable::Flag_HeaderVisible | CStandardTable::Flag_RowSelect
    | CStandardTable::Flag_HoverRow | CStandardTable::Flag_AlternateRows;
}

CBasketTasksPanel::CBasketTasksPanel(const QString& name, QWidget* parent)
    : ITradeDockableWidget(name, parent)
    , m_table(new CStandardTable(0, this, kTableFlags))
    , m_caption(new QLabel(this))
{
    const QStringList headers{QStringLiteral("任务编号"), QStringLiteral("资金账号"), QStringLiteral("任务名称"),
                              QStringLiteral("状态")};
    m_table->setColumnCount(headers.size());
    for (int column = 0; column < headers.size(); ++column)
        m_table->setHeaderText(column, headers.at(column));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->addWidget(m_caption);
    layout->addWidget(m_table, 1);
    m_caption->setStyleSheet(QStringLiteral("color: %1;").arg(CUiResource::instance()->getColor(QStringLiteral("clr_table_text")).name()));
    onTimer(0);
}

void CBasketTasksPanel::showRunning()
{
    logRequest(QStringLiteral("showRunning"));
    m_runningOnly = true;
    onTimer(0);
}

void CBasketTasksPanel::onTimer(int)
{
    countTimer();
    // Tasks are listed for every account, as the task list of the terminal does.
    std::vector<IDataPtr> records;
    TraderCenter::instance()->getDataCenter()->getSharedData()->getVector(TradeData_TaskDetail, records);
    std::vector<CTaskDetailPtr> shown;
    for (const IDataPtr& record : records) {
        auto task = std::dynamic_pointer_cast<CTaskDetail>(record);
        if (task && (!m_runningOnly || task->status() == CTaskDetail::kStatusRunning))
            shown.push_back(task);
    }
    const int total = static_cast<int>(shown.size());
    if (shown.size() > static_cast<std::size_t>(kMaxRows))
        shown.erase(shown.begin(), shown.end() - kMaxRows);

    while (m_table->rowCount() > static_cast<int>(shown.size()))
        m_table->removeRow(m_table->rowID(m_table->rowCount() - 1));
    while (m_table->rowCount() < static_cast<int>(shown.size()))
        m_table->appendRow();
    for (int index = 0; index < static_cast<int>(shown.size()); ++index) {
        const CTaskDetail& task = *shown[index];
        const int row = m_table->rowID(index);
        m_table->setItemText(row, 0, sToQs(task.getKey()), false);
        m_table->setItemText(row, 1, sToQs(task.accountKey()), false);
        m_table->setItemText(row, 2, sToQs(task.name()), false);
        m_table->setItemText(row, 3, task.status() == CTaskDetail::kStatusRunning ? QStringLiteral("运行中") : QStringLiteral("已停止"), true);
    }
    m_caption->setText(QStringLiteral("%1: %2 个").arg(m_runningOnly ? QStringLiteral("执行中任务") : QStringLiteral("全部任务")).arg(total));
}

CIntegratedTasksPanel::CIntegratedTasksPanel(int, QWidget* parent)
    : CBasketTasksPanel(QStringLiteral("integrated_tasks_panel"), parent)
{
}
