#pragma once

#include "accountinfo.h"
#include "terminalhost_export.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

class QTimer;

/**
 * @brief The simulated market and trading back end: moves the host services' state over time the
 * way a live terminal sees it move.
 *
 * - Network: the RPC connection's delay walks through the four latency bands (0-20, 20-40, 40-60,
 *   60+ ms), visiting each within about forty seconds, and now and then the connection drops for a
 *   few seconds.
 * - Quote sources: the connected count wanders between 0 and 4; the quote-and-trade connection
 *   follows it (up while at least one source and the RPC connection are up).
 * - Trade accounts: three accounts are put in the user configuration at start; a worker thread owned
 *   by the simulator reports their login results through CTradeClient, as the real client's network
 *   thread does. Mostly all are logged in; sometimes one fails or is cut off, then logs in again.
 *
 * Network and quote steps run on the GUI thread from timers; the login reports come from the worker.
 * The same seed gives the same sequence of states on each timeline.
 */
class TERMINALHOST_EXPORT CBackendSimulator : public QObject
{
    Q_OBJECT
public:
    explicit CBackendSimulator(std::uint32_t seed, QObject* parent = nullptr);
    ~CBackendSimulator() override;

    /// A seed from the system's random device, for runs that need not repeat.
    static std::uint32_t randomSeed();

    /// Publishes the accounts, brings the connections up and starts the timers and the login worker.
    void start();
    /// Stops the timers and joins the login worker; a connection the simulator dropped comes back up.
    void stop();
    bool isRunning() const { return m_running; }

    /// 1 is real time; 2 runs every walk twice as fast. Clamped to [0.1, 20].
    void setSpeedFactor(double factor);
    double speedFactor() const { return m_speedFactor.load(); }

    /// The simulated accounts, the same objects that go into the user configuration.
    const std::vector<CAccountInfoPtr>& accounts() const { return m_accounts; }

    /// Asks the worker to report every account's current login state again at once, so that a status
    /// bar built after the last report learns them. Does nothing while stopped.
    void republishLoginStatus();

    /// One step of the network walk, as its timer does it.
    void stepNetwork();
    /// One step of the quote source walk, as its timer does it.
    void stepQuoteSources();

signals:
    /// After each network step; delayMs is 0 while disconnected.
    void sigNetworkStep(double delayMs, bool connected);
    /// After each login report. Emitted on the worker thread.
    void sigLoginReported(const QString& accountId, int status);

private:
    void applyIntervals();
    void pickNextDelayTarget();
    void updateQuoteTradeConnect();
    void runLoginWorker();
    /// Waits up to ms (scaled by the speed factor); false when stop was asked.
    bool waitForNextLoginStep(int ms);
    void stepLogins();
    void reportAllLogins();

    std::vector<CAccountInfoPtr> m_accounts;

    // GUI thread only.
    std::mt19937 m_rng;
    QTimer* m_networkTimer = nullptr;
    QTimer* m_quoteTimer = nullptr;
    bool m_running = false;
    double m_delayMs = 5.0;
    double m_delayTargetMs = 5.0;
    int m_ticksOnTarget = 0;
    int m_ticksForTarget = 0;
    std::vector<int> m_bandOrder;
    std::size_t m_bandCursor = 0;
    int m_dropTicksLeft = 0;
    int m_quoteSources = 0;

    // Shared with the login worker.
    std::atomic<double> m_speedFactor{1.0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopRequested = false;   // guarded by m_mutex
    bool m_republishRequested = false; // guarded by m_mutex
    std::thread m_loginWorker;

    // Login worker only (the worker is joined before another one starts).
    std::mt19937 m_loginRng;
    std::vector<EBROKER_LOGIN_STATUS> m_loginStates;
};
