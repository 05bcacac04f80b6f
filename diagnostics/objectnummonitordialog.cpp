#include "objectnummonitordialog.h"

#include "objectnummonitordata.h"
#include "objectnummonitormodel.h"

#include <terminalhost/messagebox.h>
#include <terminalhost/processmemory.h>
#include <terminalhost/smallnonormalbutton.h>
#include <terminalhost/standardhpftable.h>
#include <terminalhost/typemanager.h>
#include <terminalhost/widgetlist.h>

#include <QVBoxLayout>

#include <memory>

namespace {
constexpr int kRefreshButtonId = 0;
constexpr int kCleanMemoryButtonId = 1;
constexpr int kRefreshButtonWidth = 30;
constexpr int kCleanMemoryButtonWidth = 54;
constexpr bool kOnTop = false;
constexpr int kNoAutoClose = 0;
}

CObjectNumMonitorDialog::CObjectNumMonitorDialog(QWidget* parent)
    : CBaseWidget(QStringLiteral("object_num_monitor"), false, parent)
{
    createUi();
}

void CObjectNumMonitorDialog::createUi()
{
    auto* content = new CWidgetList(Qt::Vertical, this);
    content->setMargin(0, 0, 0, 0);
    content->setSpacing(0);

    auto* tools = new CWidgetList(Qt::Horizontal, content);
    auto* refresh = new CSmallNoNormalButton(kRefreshButtonId, false, tools, nullptr);
    refresh->setText(QStringLiteral("刷新"));
    refresh->setFixedWidth(kRefreshButtonWidth);
    tools->setFixedHeight(refresh->height()); // the row is as high as its buttons
    tools->addFixedWidget(refresh, Anchor_Start, false);
    auto* cleanMemory = new CSmallNoNormalButton(kCleanMemoryButtonId, false, tools, nullptr);
    cleanMemory->setText(QStringLiteral("清理内存"));
    cleanMemory->setFixedWidth(kCleanMemoryButtonWidth);
    tools->addFixedWidget(cleanMemory, Anchor_Fill, false);
    content->addFixedWidget(tools, Anchor_Fill, false);

    m_table = new CStandardHpfTable(CStandardHpfTable::Style_Monitor, this, CStandardHpfTable::Flag_All);
    m_table->setFlag(m_table->flag() | CStandardHpfTable::Flag_StatisticsRow);
    m_model = new CObjectNumMonitorModel;
    m_table->setDataModel(m_model);
    m_table->setColumnFilterable(CObjectNumMonitorModel::ColName, true);
    m_table->setColumnStatEnable(CObjectNumMonitorModel::ColCreated, true);
    m_table->setColumnStatEnable(CObjectNumMonitorModel::ColAlive, true);
    content->addStretchWidget(m_table, 1, Anchor_Fill, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
}

void CObjectNumMonitorDialog::refresh()
{
    m_model->clear();
    for (const auto& entry : TypeManager::instance()->getObjectStatisticks())
        m_model->addData(std::make_shared<CObjectNumMonitorData>(entry.first, entry.second.first, entry.second.second));
    m_table->updateTable();
    m_table->adjustColumnWidth();
}

bool CObjectNumMonitorDialog::clearMemory()
{
    return CProcessMemory::instance()->trimWorkingSet();
}

void CObjectNumMonitorDialog::onActive()
{
    refresh();
}

bool CObjectNumMonitorDialog::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type == Event_Activate && id == kRefreshButtonId) {
        refresh();
        return true;
    }
    if (type == Event_Activate && id == kCleanMemoryButtonId) {
        if (clearMemory())
            CMessageBox::information(nullptr, this, QStringLiteral("操作"), QStringLiteral("清理内存成功"), QMessageBox::Ok,
                                     QMessageBox::NoButton, kOnTop, kNoAutoClose);
        else
            CMessageBox::warning(nullptr, this, QStringLiteral("操作"), QStringLiteral("清理内存失败"), QMessageBox::Ok,
                                 QMessageBox::NoButton, kOnTop);
        return true;
    }
    return CBaseWidget::handleEvent(type, id, arg, text, data);
}
