#include "strategyrunningdialog.h"

#include <terminalhost/smallnormalbutton.h>
#include <terminalhost/standardtable.h>
#include <terminalhost/strategytrademanager.h>
#include <terminalhost/widgetlist.h>

#include <QTime>

namespace {
constexpr int kMinimumWidth = 500;
constexpr int kMinimumHeight = 400;
constexpr int kListSpacing = 5;

constexpr int kTableStyle = 0;
constexpr int kTableFlags = CStandardTable::Flag_All;
// Column moving and sizing, multi-selection, grid lines and word wrap stay off in this list.
constexpr int kClearedTableFlags = CStandardTable::Flag_ColumnMove | CStandardTable::Flag_ColumnResize
    | CStandardTable::Flag_MultiSelect | CStandardTable::Flag_GridLines | CStandardTable::Flag_WordWrap;
constexpr int kColumnCount = 4;
constexpr int kColumnName = 0;
constexpr int kColumnStartTime = 1;
constexpr int kColumnOperation = 2;
constexpr int kColumnRequestId = 3;

constexpr int kStopAllButtonId = 100;
constexpr int kStopButtonIdBase = 1000; // a row's stop button id is its row id plus this
constexpr int kButtonStyle = 1;
constexpr int kStopButtonHeight = 15;
constexpr int kStopAllButtonWidth = 60;
constexpr int kCellAlignment = Qt::AlignHCenter | Qt::AlignVCenter;
}

CStrategyRunningDialog::CStrategyRunningDialog(QWidget* parent)
    : CCommonDialog(parent)
{
    // The owner keeps this dialog and shows it again: closing must only hide it.
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildContent();
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setTitle(QStringLiteral("执行中策略"));
}

void CStrategyRunningDialog::buildContent()
{
    auto* list = new CWidgetList(Qt::Vertical, this);
    list->setMargin(0, 0, 0, 0);
    list->setSpacing(kListSpacing);

    auto* buttons = new CWidgetList(Qt::Horizontal, list);
    auto* stopAll = new CSmallNormalButton(kStopAllButtonId, false, kButtonStyle, buttons);
    stopAll->setText(QStringLiteral("全部停止"));
    stopAll->setFixedWidth(kStopAllButtonWidth);
    buttons->addFixedWidget(stopAll, Anchor_Start, true);
    buttons->addStretchSpace(1);
    list->addFixedWidget(buttons, Anchor_Start, true);

    m_table = new CStandardTable(kTableStyle, this, kTableFlags);
    m_table->setFlag(m_table->flag() & ~kClearedTableFlags);
    m_table->setColumnCount(kColumnCount);
    m_table->setHeaderText(kColumnName, QStringLiteral("名称"));
    m_table->setHeaderText(kColumnStartTime, QStringLiteral("开始时间"));
    m_table->setHeaderText(kColumnOperation, QStringLiteral("操作"));
    m_table->setHeaderText(kColumnRequestId, QStringLiteral("请求ID"));
    m_table->setColumnVisible(kColumnRequestId, false);
    list->addStretchWidget(m_table, 1, Anchor_Fill, false);
    setInnerWidget(list);
}

void CStrategyRunningDialog::addStrategy(const QString& requestId, const QString& name)
{
    const int row = m_table->appendRow();
    m_table->setItemText(row, kColumnName, name, true);
    m_table->setItemText(row, kColumnStartTime, QTime::currentTime().toString(QStringLiteral("hh:mm:ss")), true);
    auto* stop = new CSmallNormalButton(row + kStopButtonIdBase, false, kButtonStyle, m_table);
    stop->setText(QStringLiteral("停止"));
    stop->setFixedHeight(kStopButtonHeight);
    m_table->setItemWidget(row, kColumnOperation, stop, kCellAlignment, true);
    m_table->setItemText(row, kColumnRequestId, requestId, true);
}

void CStrategyRunningDialog::removeStrategy(const QString& requestId)
{
    for (int index = 0; index < m_table->rowCount(); ++index) {
        const int row = m_table->rowID(index);
        if (m_table->itemText(row, kColumnRequestId) == requestId) {
            m_table->removeRow(row);
            return;
        }
    }
}

bool CStrategyRunningDialog::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type == Event_Activate && id >= kStopButtonIdBase) {
        const int row = id - kStopButtonIdBase;
        const QString requestId = m_table->itemText(row, kColumnRequestId);
        if (!requestId.isEmpty())
            emit sigStrategyRemove(requestId);
        // The row goes at once; the count follows when the manager reports the process ended.
        m_table->removeRow(row);
        return true;
    }
    if (type == Event_Activate && id == kStopAllButtonId) {
        // Rows stay until the manager reports each process ended.
        CStrategyTradeManager::instance()->stopAllProcess();
        return true;
    }
    return CCommonDialog::handleEvent(type, id, arg, text, data);
}
