#pragma once

#include <terminalhost/uiresourcechangehandler.h>

#include <QMainWindow>
#include <QPointer>

#include <cstdint>

class CBackendSimulator;
class CControlPanel;
class CEventLog;
class CPerformMonitorDialog;
class CQuoteBoard;
class CQuoteSourceDialog;
class CRunningPanelDock;
class CStatusBar;
class QVBoxLayout;

/**
 * @brief The demo terminal's main window: a quote board workspace with the control panel and the
 * event log docked beside it, and the status bar along the whole bottom edge.
 *
 * The window is the bus's last stop: events that no widget consumed arrive in handleBusEvent(),
 * are listed in the event log and, where a terminal would, acted on.
 */
class CMainWindow : public QMainWindow, public CUiResourceChangeHandler
{
    Q_OBJECT
public:
    /// simulate starts the simulated back end at once; seed makes its run repeatable; floodRate > 0
    /// adds a storm of that many order updates per second.
    CMainWindow(std::uint32_t seed, bool simulate, double simSpeed, int floodRate = 0, QWidget* parent = nullptr);
    ~CMainWindow() override;

    CStatusBar* terminalStatusBar() const { return m_bar; }
    CBackendSimulator* simulator() const { return m_simulator; }
    CEventLog* eventLog() const { return m_eventLog; }
    CControlPanel* controlPanel() const { return m_panel; }
    /// The running orders or tasks view; null until the bar first asks for it.
    CRunningPanelDock* runningOrdersView() const { return m_runningOrders; }
    CRunningPanelDock* runningTasksView() const { return m_runningTasks; }

    /// Replaces the status bar with a new one built from the current host configuration.
    void rebuildStatusBar(const QString& reason);
    /// The main window's answer to an event no widget consumed; true when the window handled it.
    bool handleBusEvent(int type, int id, int arg, const QString& text, void* data);

    void themeChanged() override;

protected:
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    /// Lists the companion clients' reports in the event log.
    void connectCompanionNotes();
    void applyPalette();
    void showQuoteSources();
    /// Opens the performance monitor, or brings the open one to the front.
    void showPerformMonitor();
    void showRunningOrders();
    void showRunningTasks();
    /// Docks a running view below the workspace, beside the event log.
    void placeRunningView(CRunningPanelDock* view);
    void noteOrderServiceWanted(int arg);
    /// Rebuilds the bar when the UI scale is no longer the one it was built with.
    void followUiScale();

    CBackendSimulator* m_simulator = nullptr;
    QMainWindow* m_workspace = nullptr; ///< holds the docks, so that the bar below spans the full width
    QWidget* m_central = nullptr;
    QVBoxLayout* m_centralLayout = nullptr;
    CQuoteBoard* m_board = nullptr;
    CControlPanel* m_panel = nullptr;
    CEventLog* m_eventLog = nullptr;
    CStatusBar* m_bar = nullptr;
    double m_barScale = 0.0; ///< the UI scale the bar was built with
    QPointer<CQuoteSourceDialog> m_quoteSources;
    QPointer<CPerformMonitorDialog> m_performMonitor;
    CRunningPanelDock* m_runningOrders = nullptr;
    CRunningPanelDock* m_runningTasks = nullptr;
};
