#pragma once

#include <statusbar/statusbar_export.h>

#include <terminalhost/basewidget.h>
#include <terminalhost/formulamanager.h>

#include <map>

class CStandardTable;

/**
 * @brief The performance monitor's "内存管理器" page: what the formula and quote engine holds in
 * memory, one row per category ("数据缓存", the data cache, or "运行模型", a kind of running model)
 * with the number of items in it. "详细" lists a category's item names, "删除" on the data cache
 * clears it. The page is empty until it is first shown or refreshed.
 */
class STATUSBAR_EXPORT CMemAnalysisDialog : public CBaseWidget
{
    Q_OBJECT
public:
    explicit CMemAnalysisDialog(QWidget* parent);

    /// Asks the formula manager for its memory analysis and shows it in place of the last one.
    void start();
    /// Shown as the current page: refreshes.
    void onActive() override;
    /// The refresh button (type 5, id 0) and the rows' buttons (event 1266).
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

private:
    void createUi();
    void showDetails(int rowId);
    void deleteRow(int rowId);

    CStandardTable* m_table = nullptr;
    std::map<int, int> m_rowCategories; ///< table row id -> memory category
    RPCMemoryAnalysisDetail m_analysis;
};
