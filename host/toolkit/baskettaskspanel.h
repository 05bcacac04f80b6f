#pragma once

#include "tradedockablewidget.h"

class CStandardTable;
class QLabel;

/**
 * @brief The terminal's task panels: the trading tasks of every account, all or only the running.
 */
class TERMINALHOST_EXPORT CBasketTasksPanel : public ITradeDockableWidget
{
    Q_OBJECT
public:
    CBasketTasksPanel(const QString& name, QWidget* parent);

    /// Shows only tasks whose status is running.
    void showRunning();
    bool isShowingRunning() const { return m_runningOnly; }
    void onTimer(int updateFlags) override;
    CStandardTable* table() const { return m_table; }

private:
    CStandardTable* m_table = nullptr;
    QLabel* m_caption = nullptr;
    bool m_runningOnly = false;
};

/// @brief The integrated task list: basket, algorithmic and conditional tasks together.
class TERMINALHOST_EXPORT CIntegratedTasksPanel : public CBasketTasksPanel
{
    Q_OBJECT
public:
    CIntegratedTasksPanel(int style, QWidget* parent);
};
