#pragma once

#include <QDockWidget>

class ITradeDockableWidget;
class QTimer;

/**
 * @brief The main window's view of the running orders or running tasks: a dock hosting the
 * terminal's own orders or task panel, filtered to running entries and refreshed while visible.
 *
 * It is what the main window shows on events 1198 and 1199, when the bar's counters are clicked and
 * the user has not asked for popup panels. The panel follows the accounts as the popup panel does.
 */
class CRunningPanelDock : public QDockWidget
{
    Q_OBJECT
public:
    enum class Kind { Orders, Tasks };

    CRunningPanelDock(Kind kind, QWidget* parent);

    Kind kind() const { return m_kind; }
    ITradeDockableWidget* panel() const { return m_panel; }

    /// Shows the dock in front, with a fresh view of the running entries.
    void showRunning();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refresh();

    Kind m_kind;
    ITradeDockableWidget* m_panel = nullptr;
    QTimer* m_timer = nullptr;
};
