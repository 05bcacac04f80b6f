#pragma once

#include <statusbar/statusbar_export.h>

#include <terminalhost/basewidget.h>

class CObjectNumMonitorModel;
class CStandardHpfTable;

/**
 * @brief The performance monitor's "对象数量监控" page: per data type of the terminal's data layer,
 * how many objects were created and how many live now, as the type manager counts them, with their
 * totals; the type names can be filtered. "清理内存" gives the memory the process does not use back
 * to the system and says whether that worked. The page is empty until it is first shown or
 * refreshed.
 */
class STATUSBAR_EXPORT CObjectNumMonitorDialog : public CBaseWidget
{
    Q_OBJECT
public:
    explicit CObjectNumMonitorDialog(QWidget* parent);

    /// Reads the counts anew and shows them in place of the last ones.
    void refresh();
    /// Trims the process's working set; true when the system did it.
    bool clearMemory();
    /// Shown as the current page: refreshes.
    void onActive() override;
    /// The refresh (type 5, id 0) and clean memory (type 5, id 1) buttons.
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

private:
    void createUi();

    CStandardHpfTable* m_table = nullptr;
    CObjectNumMonitorModel* m_model = nullptr; ///< owned by the table
};
