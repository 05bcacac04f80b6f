#pragma once

#include <terminalhost/accountinfo.h>

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

class CMarketInfoSimulator;
class COrderFlood;
class CTradeActivitySimulator;
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
 *   Each successful login gives the account its data store and announces the account's data
 *   (CTradeClient::reportAccountDataInited) on the GUI thread, as the real client does once the
 *   store is filled.
 * - Orders and tasks: CTradeActivitySimulator trades on the logged-in accounts from a thread of its
 *   own, a few changes a second; on request COrderFlood adds a storm of order updates from several
 *   threads (setFloodRate()).
 * - Strategies: now and then a strategy process starts or ends through CStrategyTradeManager.
 * - Order service: the file order service stops and starts again now and then; its status text follows.
 * - Market information: CMarketInfoSimulator fills the stock list and moves the index quotes, the
 *   exchanges' announcements, the messages and the trading day (marketInfo()).
 * - Trading days: every kTradingDaySeconds of simulated time a new trading day begins: the data
 *   center drops the day's completed orders and tasks, and the accounts are announced again so that
 *   views rebuild from what is kept. The night between two days is skipped.
 *
 * Network, quote, strategy and order service steps run on the GUI thread from timers; logins, orders
 * and tasks are published from worker threads. The same seed gives the same sequence of states on
 * each timeline (the flood's timing follows the machine, its choices the seed).
 */
class CBackendSimulator : public QObject
{
    Q_OBJECT
public:
    /// The flood's default: order updates per second over all its threads.
    static constexpr int kDefaultFloodRate = 200000;
    static constexpr int kMaxFloodRate = 5000000;
    /// Simulated seconds of one trading day: the four hours of continuous trading.
    static constexpr int kTradingDaySeconds = 4 * 3600;

    explicit CBackendSimulator(std::uint32_t seed, QObject* parent = nullptr);
    ~CBackendSimulator() override;

    /// A seed from the system's random device, for runs that need not repeat.
    static std::uint32_t randomSeed();

    /// Publishes the accounts, brings the connections up, starts the order service and a couple of
    /// strategies, and starts the timers and the workers (and the flood, when its rate is set).
    void start();
    /// Stops the timers and joins every worker, so nothing is published after it returns; a connection
    /// the simulator dropped comes back up. Orders, tasks and strategies stay as they are.
    void stop();
    bool isRunning() const { return m_running; }

    /// 1 is real time; 2 runs every walk twice as fast. Clamped to [0.1, 20]; a factor that is not a
    /// number is ignored.
    void setSpeedFactor(double factor);
    double speedFactor() const { return m_speedFactor.load(); }

    /// The index quotes, announcements, messages, stock list and trading day; its public operations
    /// are what a control panel offers.
    CMarketInfoSimulator* marketInfo() const { return m_market.get(); }

    /// The simulated accounts, the same objects that go into the user configuration.
    const std::vector<CAccountInfoPtr>& accounts() const { return m_accounts; }

    /// Asks the worker to report every account's current login state again at once, so that a status
    /// bar built after the last report learns them. Does nothing while stopped.
    void republishLoginStatus();

    /// One step of the network walk, as its timer does it.
    void stepNetwork();
    /// One step of the quote source walk, as its timer does it.
    void stepQuoteSources();
    /// One step of the strategies: maybe one starts or one ends. GUI thread (the manager is not thread-safe).
    void stepStrategies();
    /// One step of the order service: maybe it stops or starts again; its status text is renewed.
    void stepOrderService();
    /// Begins the next trading day, as its timer does: completed records go, the accounts are announced
    /// again. GUI thread.
    void startTradingDay();
    /// Trading days begun since construction.
    int tradingDaysStarted() const { return m_tradingDays; }

    /// Order updates per second of the flood, 0 to switch it off; clamped to kMaxFloodRate. Takes
    /// effect at once while running, else at start(). Stopping it joins its threads.
    void setFloodRate(int updatesPerSecond);
    int floodRate() const { return m_floodRate; }
    bool isFlooding() const;

    /// Order records published since construction, regular and flood together; any thread.
    std::uint64_t publishedOrderUpdates() const;
    /// Of those, the flood's.
    std::uint64_t publishedFloodUpdates() const;
    /// Task records published since construction; any thread.
    std::uint64_t publishedTaskUpdates() const;

signals:
    /// After each network step; delayMs is 0 while disconnected.
    void sigNetworkStep(double delayMs, bool connected);
    /// After each login report. Emitted on the worker thread.
    void sigLoginReported(const QString& accountId, int status);
    /// The flood's rate changed; 0 is off.
    void sigFloodRateChanged(int updatesPerSecond);

private slots:
    /// Announces the data of the accounts the login worker found ready; GUI thread.
    void slotAnnounceReadyAccounts();

private:
    void applyIntervals();
    void pickNextDelayTarget();
    void updateQuoteTradeConnect();
    void runLoginWorker();
    /// Waits up to ms (scaled by the speed factor); false when stop was asked.
    bool waitForNextLoginStep(int ms);
    void stepLogins();
    void reportAllLogins();
    void followLogin(std::size_t accountIndex, bool ready);
    QString orderServiceTip(bool running) const;
    /// Request ids of the simulator's strategies that still run; forgets those that ended.
    std::vector<std::string> runningStrategies();

    std::vector<CAccountInfoPtr> m_accounts;

    // GUI thread only.
    std::mt19937 m_rng;
    QTimer* m_networkTimer = nullptr;
    QTimer* m_quoteTimer = nullptr;
    QTimer* m_strategyTimer = nullptr;
    QTimer* m_orderServiceTimer = nullptr;
    QTimer* m_tradingDayTimer = nullptr;
    bool m_running = false;
    double m_delayMs = 5.0;
    double m_delayTargetMs = 5.0;
    int m_ticksOnTarget = 0;
    int m_ticksForTarget = 0;
    std::vector<int> m_bandOrder;
    std::size_t m_bandCursor = 0;
    int m_dropTicksLeft = 0;
    int m_quoteSources = 0;
    std::map<std::string, std::string> m_strategyNames; ///< request id -> name, of the simulator's strategies
    int m_nextStrategyId = 1;
    int m_fileOrdersRead = 0;
    int m_floodRate = 0;
    int m_tradingDays = 0;

    // Shared with the login worker.
    std::atomic<double> m_speedFactor{1.0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopRequested = false;   // guarded by m_mutex
    bool m_republishRequested = false; // guarded by m_mutex
    std::vector<std::size_t> m_readyAccounts; // guarded by m_mutex: logged in, data not yet announced
    std::thread m_loginWorker;

    // Login worker only (the worker is joined before another one starts).
    std::mt19937 m_loginRng;
    std::vector<EBROKER_LOGIN_STATUS> m_loginStates;
    std::vector<bool> m_dataReady; ///< accounts whose data was announced since their last login

    std::unique_ptr<CTradeActivitySimulator> m_trade;
    std::unique_ptr<COrderFlood> m_flood;
    std::unique_ptr<CMarketInfoSimulator> m_market;
};
