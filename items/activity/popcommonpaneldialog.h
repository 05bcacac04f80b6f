#pragma once

#include <terminalhost/commondialog.h>

class CAccountInfo;
class ITradeDockableWidget;
class QTimer;

/**
 * @brief A large dialog that hosts one of the terminal's trade panels (orders, messages or tasks)
 * outside the main window and keeps it fed with account changes and its refresh timer.
 *
 * Kinds: 0 the orders panel, 1 the message notices panel, 2 the task list; any other kind hosts
 * nothing. Closing only hides the dialog, so its owner shows the same instance again.
 */
class CPopCommonPanelDialog : public CCommonDialog
{
    Q_OBJECT
public:
    static constexpr int kOrdersKind = 0;
    static constexpr int kMessagesKind = 1;
    static constexpr int kTasksKind = 2;

    CPopCommonPanelDialog(int kind, QWidget* parent);
    ~CPopCommonPanelDialog() override;

    /// Asks the orders or task panel to list only running entries; other kinds do nothing.
    void showRunning();

    int kind() const { return m_kind; }
    /// The hosted panel; null for a kind without one.
    ITradeDockableWidget* panel() const { return m_panel; }

public slots:
    /// Drives the panel's own refresh.
    void slotTimeOut();
    /// An account's data was (re)loaded after a login: the panel drops its rows and asks again.
    void slotRefreshAccount(const CAccountInfo& account);
    /// The account list or filter changed: the panel reloads every account.
    void slotRefreshAllAccount();

private:
    int m_kind = 0;
    QTimer* m_timer = nullptr;
    ITradeDockableWidget* m_panel = nullptr;
};
