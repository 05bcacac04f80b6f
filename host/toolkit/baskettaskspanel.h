#pragma once

#include <terminalhost/recordlistpanel.h>

/**
 * @brief The terminal's task panels: the trading tasks of every account, all or only the running.
 */
class TERMINALHOST_EXPORT CBasketTasksPanel : public CRecordListPanel
{
    Q_OBJECT
public:
    CBasketTasksPanel(const QString& name, QWidget* parent);

    void onTimer(int updateFlags) override;
};

/// @brief The integrated task list: basket, algorithmic and conditional tasks together.
class TERMINALHOST_EXPORT CIntegratedTasksPanel : public CBasketTasksPanel
{
    Q_OBJECT
public:
    CIntegratedTasksPanel(int style, QWidget* parent);
};
