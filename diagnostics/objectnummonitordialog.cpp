#include "objectnummonitordialog.h"

#include "diagnosticspage.h"
#include "objectnummonitordata.h"
#include "objectnummonitormodel.h"

#include <terminalhost/messagebox.h>
#include <terminalhost/processmemory.h>
#include <terminalhost/standardhpftable.h>
#include <terminalhost/typemanager.h>

#include <memory>

namespace {
constexpr int kCleanMemoryButtonId = 1;
constexpr int kCleanMemoryButtonWidth = 54; // px
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
    m_table = new CStandardHpfTable(CStandardHpfTable::Style_Monitor, this, CStandardHpfTable::Flag_All);
    m_model = new CObjectNumMonitorModel;
    m_table->setDataModel(m_model);
    m_table->setColumnFilterable(CObjectNumMonitorModel::ColName, true);
    m_table->setColumnStatEnable(CObjectNumMonitorModel::ColCreated, true);
    m_table->setColumnStatEnable(CObjectNumMonitorModel::ColAlive, true);
    DiagnosticsPage::layOut(this, m_table, {{kCleanMemoryButtonId, "清理内存", kCleanMemoryButtonWidth}});
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
    if (type == Event_Activate && id == DiagnosticsPage::kRefreshButtonId) {
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
