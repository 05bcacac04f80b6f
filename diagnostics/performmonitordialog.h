#pragma once

#include <statusbar/statusbar_export.h>

#include <terminalhost/commondialog.h>

class CStandardTabControl;

/**
 * @brief "性能监控", the terminal's performance monitor: a dialog with one tab per diagnostic page,
 * "行情监控" (quote subscriptions; not in the Varno client mode), "对象数量监控" (object counts)
 * and "内存管理器" (the formula engine's memory). A page fills itself when its tab is shown. The
 * dialog deletes itself when closed.
 */
class STATUSBAR_EXPORT CPerformMonitorDialog : public CCommonDialog
{
    Q_OBJECT
public:
    explicit CPerformMonitorDialog(QWidget* parent = nullptr);

private:
    void createUi();

    CStandardTabControl* m_tabs = nullptr;
};
