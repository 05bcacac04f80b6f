#include "memanalysisdialog.h"

#include "diagnosticspage.h"
#include "memdetaildialog.h"
#include "memoperationmultibtn.h"

#include <statusbar/statusbarevents.h>

#include <terminalhost/standardtable.h>

namespace {
constexpr int kTableStyle = 0; // the plain list
enum Column { ColName, ColSize, ColOperation, ColumnCount };
}

CMemAnalysisDialog::CMemAnalysisDialog(QWidget* parent)
    : CBaseWidget(QStringLiteral("mem_analysis"), false, parent)
{
    createUi();
}

void CMemAnalysisDialog::createUi()
{
    m_table = new CStandardTable(kTableStyle, this, CStandardTable::Flag_All);
    m_table->setColumnCount(ColumnCount);
    m_table->setHeaderText(ColName, QStringLiteral("名称"));
    m_table->setHeaderText(ColSize, QStringLiteral("大小"));
    m_table->setHeaderText(ColOperation, QStringLiteral("操作"));
    DiagnosticsPage::layOut(this, m_table);
}

void CMemAnalysisDialog::start()
{
    m_analysis.items.clear();
    CFormulaManager::instance()->queryMemAnalysisDetail(m_analysis);
    // The rows' buttons go with the rows; a button whose click got us here is deleted later.
    m_table->clear();
    m_rowCategories.clear();
    for (const auto& entry : m_analysis.items) {
        const int category = entry.first;
        const int row = m_table->appendRow();
        m_table->setItemText(row, ColName, category == MemoryCategory_DataCache ? QStringLiteral("数据缓存") : QStringLiteral("运行模型"),
                             false);
        m_table->setItemInt(row, ColSize, static_cast<int>(entry.second.size()), QStringLiteral("clr_global_rise"),
                            QStringLiteral("fnt_btn_default_bold"), false);
        m_table->setItemWidget(row, ColOperation, new CMemOperationMultiBtn(row, this), Qt::AlignCenter, true);
        m_rowCategories[row] = category;
    }
}

void CMemAnalysisDialog::onActive()
{
    start();
}

bool CMemAnalysisDialog::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type == Event_Activate && id == DiagnosticsPage::kRefreshButtonId) {
        start();
        return true;
    }
    if (type == StatusBarEvent::MemoryOperation) {
        if (arg == CMemOperationMultiBtn::MemOperation_Details)
            showDetails(id);
        else if (arg == CMemOperationMultiBtn::MemOperation_Delete)
            deleteRow(id);
        return true;
    }
    return CBaseWidget::handleEvent(type, id, arg, text, data);
}

void CMemAnalysisDialog::showDetails(int rowId)
{
    const auto row = m_rowCategories.find(rowId);
    const int category = row == m_rowCategories.end() ? MemoryCategory_DataCache : row->second;
    const auto names = m_analysis.items.find(category);
    if (names == m_analysis.items.end())
        return;
    auto* dialog = new CMemDetailDialog(nullptr);
    dialog->setItems(names->second);
    dialog->exec();
}

void CMemAnalysisDialog::deleteRow(int rowId)
{
    const auto row = m_rowCategories.find(rowId);
    const int category = row == m_rowCategories.end() ? MemoryCategory_DataCache : row->second;
    // Only the data cache can be dropped; a running model ends with its strategy.
    if (category != MemoryCategory_DataCache)
        return;
    CFormulaManager::instance()->clearCache();
    start();
}
