#pragma once

#include <terminalhost/uiresourcechangehandler.h>

#include <QElapsedTimer>
#include <QMap>
#include <QWidget>

#include <cstdint>
#include <functional>

class CBackendSimulator;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimer;

/**
 * @brief The demo's side panel: sets the host configuration the status bar is built from, the
 * theme and scale, runs the simulated back end and switches the latency debug log.
 *
 * Configuration changes are written to the host at once; since the bar chooses its items when it is
 * built, the panel then asks the main window to rebuild it.
 */
class CControlPanel : public QWidget, public CUiResourceChangeHandler
{
    Q_OBJECT
public:
    explicit CControlPanel(CBackendSimulator* simulator, QWidget* parent);

    /// Follows a theme or scale change made elsewhere, such as the bar's zoom control.
    void themeChanged() override;

    /// How late the GUI thread ran its timers while a flood ran, in ms: the worst since the first
    /// seconds of start-up. Under a flood of order updates this says whether the window stayed smooth.
    int worstGuiLagMs() const { return m_worstLagMs; }

signals:
    /// The host configuration changed in a way the bar only reads at construction.
    void sigRebuildWanted(const QString& reason);
    void sigNote(const QString& text);
    /// The simulated back end was started (true) or stopped from the panel.
    void sigSimulatorRunning(bool running);
    /// The user asked for a feedback report with a picture of the window.
    void sigFeedbackWanted();
    /// The user asked for the performance monitor.
    void sigPerformMonitorWanted();

private:
    QGroupBox* buildTerminalGroup();
    QGroupBox* buildUserConfigGroup();
    QGroupBox* buildRightsGroup();
    QGroupBox* buildAppearanceGroup();
    QGroupBox* buildBackEndGroup();
    QGroupBox* buildDiagnosticsGroup();
    QGroupBox* buildCompanionsGroup();
    void showCompanionStates();
    QCheckBox* addSwitch(QFormLayout* layout, const QString& name, bool initial, std::function<void(bool)> apply);
    void showNetwork(double delayMs, bool connected);
    void showQuoteSources(int count);
    void showLogin(const QString& accountId, int status);
    void showLoad();
    void probeGuiLag();
    /// Runs the lag probe while a flood runs, and only then: at rest it would wake the GUI 20 times a second.
    void followFlood();
    void syncThemeChoice();

    CBackendSimulator* m_simulator = nullptr;
    QComboBox* m_theme = nullptr;
    QSpinBox* m_scale = nullptr;
    QCheckBox* m_simulatorRunning = nullptr;
    QDoubleSpinBox* m_simSpeed = nullptr;
    QLabel* m_networkState = nullptr;
    QLabel* m_quoteState = nullptr;
    QLabel* m_loginState = nullptr;
    QLabel* m_logPath = nullptr;
    QCheckBox* m_flood = nullptr;
    QSpinBox* m_floodRate = nullptr;
    QLabel* m_load = nullptr;
    QMap<QString, int> m_loginStatus; ///< account id -> last reported status
    QLabel* m_miniTradeState = nullptr;
    QLabel* m_miniQuoteState = nullptr;
    QLineEdit* m_feedbackAddress = nullptr;

    // Load display: published updates per second and the GUI thread's timer lag.
    QTimer* m_loadTimer = nullptr;
    QTimer* m_lagProbe = nullptr;
    QElapsedTimer m_loadClock;
    QElapsedTimer m_lagClock;
    QElapsedTimer m_loadClockStarted;
    std::uint64_t m_lastOrderUpdates = 0;
    std::uint64_t m_lastFloodUpdates = 0;
    int m_lagThisPeriodMs = 0;
    int m_worstLagMs = 0;
};
