#pragma once

#include "tradedockablewidget.h"

class CStandardTable;
class QLabel;

/**
 * @brief The terminal's orders panel: the orders of the shown accounts, all of them or only those
 * still running.
 */
class TERMINALHOST_EXPORT COrdersPanel : public ITradeDockableWidget
{
    Q_OBJECT
public:
    COrdersPanel(int style, EQrTraderType traderType, QWidget* parent);

    /// Shows only orders that are not completed.
    void showRunning();
    bool isShowingRunning() const { return m_runningOnly; }
    void onTimer(int updateFlags) override;
    CStandardTable* table() const { return m_table; }

private:
    CStandardTable* m_table = nullptr;
    QLabel* m_caption = nullptr;
    bool m_runningOnly = false;
};
