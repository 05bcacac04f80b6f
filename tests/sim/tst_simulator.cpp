#include "testmain.h"

#include <backendsimulator.h>
#include <datacenter.h>
#include <hostreset.h>
#include <orderservice.h>
#include <rpcengine.h>
#include <serviceclient.h>
#include <strategytrademanager.h>
#include <tradeclient.h>
#include <tradedata.h>
#include <userconfig.h>

#include <QElapsedTimer>
#include <QSet>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace {
constexpr double kFastSpeed = 20.0;      // the simulator's fastest pace: a login in 30 ms, a trade step in 12 ms
constexpr int kSlowWaitMs = 10000;       // for events that come every few simulated seconds
constexpr int kBandSteps = 60;           // network steps within which every band must have been seen
constexpr int kPromptStopMs = 1000;      // stop() must not wait for a worker's next step
constexpr int kMaxRunningOrders = 15;
constexpr int kServiceSteps = 60;        // order service steps of 5 s: five minutes
constexpr int kFloodKeysPerAccount = 3000;

// The four latency bands as the user sees them on the latency indicator.
int bandOf(double delayMs)
{
    if (delayMs < 20.0)
        return 0;
    if (delayMs < 40.0)
        return 1;
    if (delayMs < 60.0)
        return 2;
    return 3;
}

CDataCenter* dataCenter()
{
    return TraderCenter::instance()->getDataCenter();
}

std::vector<std::shared_ptr<COrderDetail>> ordersOf(CAccountData* store)
{
    std::vector<IDataPtr> records;
    store->getVector(TradeData_OrderDetail, records);
    std::vector<std::shared_ptr<COrderDetail>> orders;
    for (const IDataPtr& record : records) {
        if (auto order = std::dynamic_pointer_cast<COrderDetail>(record))
            orders.push_back(order);
    }
    return orders;
}

int runningOrdersOf(CAccountData* store)
{
    int running = 0;
    for (const auto& order : ordersOf(store))
        running += COrderDetailHelper::completed(*order) ? 0 : 1;
    return running;
}

// Counts what a subscription delivers, and on which threads, from the engine's threads.
struct DeliveryRecorder {
    std::mutex mutex;
    std::atomic<int> count{0};
    std::atomic<int> offEngine{0};
    std::set<int> orderStatuses;
    std::map<std::string, std::set<int>> taskStatuses; ///< task key -> statuses seen

    CAccountData::Callback callback()
    {
        return [this](const IDataPtr& record) {
            if (!RPCEngine::instance()->isEngineThread())
                ++offEngine;
            std::lock_guard<std::mutex> lock(mutex);
            if (auto order = std::dynamic_pointer_cast<COrderDetail>(record))
                orderStatuses.insert(order->status());
            if (auto task = std::dynamic_pointer_cast<CTaskDetail>(record))
                taskStatuses[task->getKey()].insert(task->status());
            ++count;
        };
    }
    bool sawOrderStatuses(const std::set<int>& wanted)
    {
        std::lock_guard<std::mutex> lock(mutex);
        return std::includes(orderStatuses.begin(), orderStatuses.end(), wanted.begin(), wanted.end());
    }
    bool sawTaskStartAndEnd()
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (const auto& entry : taskStatuses) {
            const std::set<int>& seen = entry.second;
            if (seen.count(CTaskDetail::kStatusRunning) && (seen.count(4) || seen.count(5)))
                return true;
        }
        return false;
    }
};

// Listens to the strategy manager's reports, as the running strategies counter does.
struct StrategyReports {
    int started = 0;
    int ended = 0;
    int offGuiThread = 0;
    QStringList startedIds;
    QObject receiver;

    StrategyReports()
    {
        QThread* gui = QThread::currentThread();
        QObject::connect(CStrategyTradeManager::instance(), &CStrategyTradeManager::sigProcessStatus, &receiver,
                         [this, gui](const std::string& requestId, const std::string&, bool running) {
                             if (QThread::currentThread() != gui)
                                 ++offGuiThread;
                             if (running) {
                                 ++started;
                                 startedIds << QString::fromStdString(requestId);
                             } else {
                                 ++ended;
                             }
                         },
                         Qt::DirectConnection);
    }
};

std::unique_ptr<CBackendSimulator> fastSimulator(std::uint32_t seed = 7)
{
    auto simulator = std::make_unique<CBackendSimulator>(seed);
    simulator->setSpeedFactor(kFastSpeed);
    return simulator;
}

bool allAccountsHaveStores(const CBackendSimulator& simulator)
{
    for (const CAccountInfoPtr& account : simulator.accounts()) {
        if (!dataCenter()->getAccountData(*account))
            return false;
    }
    return true;
}
}

class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // Network
    void visitsEveryDelayBandWithAFixedSeed_data();
    void visitsEveryDelayBandWithAFixedSeed();
    void sameSeedRepeatsTheDelayWalk();

    // Logins
    void reportsLoginsFromAWorkerThread();
    void announcesAccountDataOnceTheStoreExists();

    // Orders and tasks
    void publishesOrdersOfLoggedInAccountsToTheirStores();
    void deliversOrdersToASubscriberOnAnEngineThread();
    void ordersGoThroughTheirWholeLifeWithAHandfulRunning();
    void tasksStartAndStop();

    // Strategies and the order service, on the GUI thread
    void strategiesStartAndEndOnTheGuiThread();
    void republishingStrategiesTellsALateListenerEveryRunningOne();
    void orderServiceTogglesWithAMatchingTip();

    // Stopping
    void stopIsPromptAndNothingIsPublishedAfter_data();
    void stopIsPromptAndNothingIsPublishedAfter();
    void floodStaysWithinItsKeyPool();
    void floodSwitchedOffJoinsItsThreads();
};

void TestSimulator::init()
{
    resetHost();
}

void TestSimulator::cleanup()
{
    // Deliveries still queued from a test must not reach the next one's subscribers.
    dataCenter()->waitForDeliveries();
    resetHost();
}

void TestSimulator::visitsEveryDelayBandWithAFixedSeed_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::newRow("seed 1") << 1u;
    QTest::newRow("seed 7") << 7u;
    QTest::newRow("seed 2024") << 2024u;
}

void TestSimulator::visitsEveryDelayBandWithAFixedSeed()
{
    QFETCH(quint32, seed);
    CBackendSimulator simulator(seed);
    getServiceClient()->rpcClient()->setConnected(true);
    QSignalSpy steps(&simulator, &CBackendSimulator::sigNetworkStep);

    QSet<int> bands;
    for (int i = 0; i < kBandSteps; ++i)
        simulator.stepNetwork();
    for (const QList<QVariant>& step : steps) {
        if (step.at(1).toBool()) // a dropped connection has no delay to show
            bands.insert(bandOf(step.at(0).toDouble()));
    }
    QVERIFY2(bands.size() == 4, qPrintable(QStringLiteral("bands seen in %1 steps: %2").arg(kBandSteps).arg(bands.size())));
}

void TestSimulator::sameSeedRepeatsTheDelayWalk()
{
    const auto walk = [] {
        CBackendSimulator simulator(42);
        getServiceClient()->rpcClient()->setConnected(true);
        QSignalSpy steps(&simulator, &CBackendSimulator::sigNetworkStep);
        for (int i = 0; i < 20; ++i)
            simulator.stepNetwork();
        QList<double> delays;
        for (const QList<QVariant>& step : steps)
            delays << step.at(0).toDouble();
        return delays;
    };
    QCOMPARE(walk(), walk());
}

void TestSimulator::reportsLoginsFromAWorkerThread()
{
    auto simulator = fastSimulator();
    std::mutex mutex;
    std::map<std::string, EBROKER_LOGIN_STATUS> last;
    std::atomic<int> onGuiThread{0};
    QThread* gui = QThread::currentThread();
    QObject receiver;
    connect(CTradeClient::instance(), &CTradeClient::sigLoginStatus, &receiver,
            [&](const CAccountInfoPtr& account, EBROKER_LOGIN_STATUS status, const std::string&) {
                if (QThread::currentThread() == gui)
                    ++onGuiThread;
                std::lock_guard<std::mutex> lock(mutex);
                last[account->getKey()] = status;
            },
            Qt::DirectConnection);

    simulator->start();
    QTRY_VERIFY2([&] {
        std::lock_guard<std::mutex> lock(mutex);
        return last.size() == simulator->accounts().size();
    }(), "not every account reported a login");
    QTRY_VERIFY2(isLoginStatusReady(CTradeClient::instance()->getLoginStatus(simulator->accounts().front()->getKey())),
                 "the first account never logged in");
    simulator->stop();
    QCOMPARE(onGuiThread.load(), 0);
}

void TestSimulator::announcesAccountDataOnceTheStoreExists()
{
    auto simulator = fastSimulator();
    std::mutex mutex;
    std::set<std::string> announced;
    std::atomic<int> withoutStore{0};
    std::atomic<int> notLoggedIn{0};
    QObject receiver;
    connect(CTradeClient::instance(), &CTradeClient::sigInitedAccountData, &receiver,
            [&](const CAccountInfo& account) {
                // Whoever hears the announcement reads the store at once; it must be there.
                if (!dataCenter()->getAccountData(account))
                    ++withoutStore;
                if (!isLoginStatusReady(CTradeClient::instance()->getLoginStatus(account.getKey())))
                    ++notLoggedIn;
                std::lock_guard<std::mutex> lock(mutex);
                announced.insert(account.getKey());
            },
            Qt::DirectConnection);

    simulator->start();
    QTRY_VERIFY2([&] {
        std::lock_guard<std::mutex> lock(mutex);
        return announced.size() == simulator->accounts().size();
    }(), "not every account's data was announced");
    simulator->stop();
    QCOMPARE(withoutStore.load(), 0);
    QCOMPARE(notLoggedIn.load(), 0);
}

void TestSimulator::publishesOrdersOfLoggedInAccountsToTheirStores()
{
    auto simulator = fastSimulator();
    simulator->start();
    QTRY_VERIFY2(allAccountsHaveStores(*simulator), "an account never got its store");
    for (const CAccountInfoPtr& account : simulator->accounts()) {
        CAccountData* store = dataCenter()->getAccountData(*account);
        QTRY_VERIFY2(!ordersOf(store).empty(), qPrintable(QStringLiteral("no order in the store of %1")
                                                              .arg(QString::fromStdString(account->getKey()))));
        for (const auto& order : ordersOf(store))
            QCOMPARE(order->accountKey(), account->getKey());
    }
    simulator->stop();
}

void TestSimulator::deliversOrdersToASubscriberOnAnEngineThread()
{
    auto simulator = fastSimulator();
    simulator->start();
    QTRY_VERIFY2(allAccountsHaveStores(*simulator), "an account never got its store");
    DeliveryRecorder recorder;
    CAccountData* store = dataCenter()->getAccountData(*simulator->accounts().front());
    SubRequestPtr handle = store->subscribe(TradeData_OrderDetail, std::string(), recorder.callback());

    QTRY_VERIFY2(recorder.count.load() >= 3, qPrintable(QStringLiteral("%1 orders delivered").arg(recorder.count.load())));
    simulator->stop();
    handle.reset();
    QCOMPARE(recorder.offEngine.load(), 0);
}

void TestSimulator::ordersGoThroughTheirWholeLifeWithAHandfulRunning()
{
    auto simulator = fastSimulator();
    DeliveryRecorder recorder;
    SubRequestPtr handle = dataCenter()->subscribe(std::string(), TradeData_OrderDetail, std::string(), recorder.callback());
    int mostRunning = 0;
    QObject sampler;
    QTimer ticks; // samples the running count as the bar's counter would
    connect(&ticks, &QTimer::timeout, &sampler, [&] {
        mostRunning = std::max(mostRunning, runningOrdersOf(dataCenter()->getSharedData()));
    });
    ticks.start(5);

    simulator->start();
    const std::set<int> everyStatus{OrderStatus_Submitting, OrderStatus_Queued, OrderStatus_PartFilled,
                                    OrderStatus_Filled,     OrderStatus_Cancelled, OrderStatus_Rejected};
    QTRY_VERIFY2_WITH_TIMEOUT(recorder.sawOrderStatuses(everyStatus), "some order status never appeared", kSlowWaitMs);
    simulator->stop();
    ticks.stop();
    handle.reset();

    QVERIFY2(mostRunning >= 3, qPrintable(QStringLiteral("at most %1 orders ran").arg(mostRunning)));
    QVERIFY2(mostRunning <= kMaxRunningOrders, qPrintable(QStringLiteral("%1 orders ran at once").arg(mostRunning)));
}

void TestSimulator::tasksStartAndStop()
{
    auto simulator = fastSimulator();
    DeliveryRecorder recorder;
    SubRequestPtr handle = dataCenter()->subscribe(std::string(), TradeData_TaskDetail, std::string(), recorder.callback());
    simulator->start();
    QTRY_VERIFY2_WITH_TIMEOUT(recorder.sawTaskStartAndEnd(), "no task both ran and stopped", kSlowWaitMs);
    simulator->stop();
    handle.reset();
    QCOMPARE(recorder.offEngine.load(), 0);
}

void TestSimulator::strategiesStartAndEndOnTheGuiThread()
{
    auto simulator = fastSimulator();
    StrategyReports reports;
    simulator->start();
    QVERIFY2(!CStrategyTradeManager::instance()->runningProcesses().isEmpty(), "no strategy runs right after start");
    QTRY_VERIFY2_WITH_TIMEOUT(reports.ended > 0, "no strategy ever ended", kSlowWaitMs);
    simulator->stop();
    QVERIFY(reports.started > 0);
    QCOMPARE(reports.offGuiThread, 0);
}

void TestSimulator::republishingStrategiesTellsALateListenerEveryRunningOne()
{
    auto simulator = fastSimulator();
    simulator->start();
    simulator->stop();
    const QStringList running = CStrategyTradeManager::instance()->runningProcesses();
    QVERIFY(!running.isEmpty());

    StrategyReports reports;
    simulator->republishStrategies();
    QCOMPARE(reports.ended, 0);
    QStringList heard = reports.startedIds;
    heard.sort();
    QCOMPARE(heard, running);
    QCOMPARE(CStrategyTradeManager::instance()->runningProcesses(), running); // reported again, not started twice
}

void TestSimulator::orderServiceTogglesWithAMatchingTip()
{
    auto simulator = fastSimulator();
    QStringList mismatches;
    QObject receiver;
    connect(COrderService::instance(), &COrderService::sigSetStatus, &receiver, [&](bool running) {
        // A hover right after the change must read the new state.
        const QString tip = COrderService::instance()->getStatusBarTip();
        if (tip.contains(QStringLiteral("运行中")) != running)
            mismatches << tip;
    });
    QSignalSpy changes(COrderService::instance(), &COrderService::sigSetStatus);

    simulator->start();
    simulator->stop();
    QVERIFY(COrderService::instance()->hasRunning());
    QVERIFY(COrderService::instance()->getStatusBarTip().contains(QStringLiteral("运行中")));
    for (int i = 0; i < kServiceSteps; ++i)
        simulator->stepOrderService(); // as its timer does, a few minutes' worth
    QVERIFY2(changes.count() >= 3, qPrintable(QStringLiteral("%1 status changes").arg(changes.count())));
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(QStringLiteral(" | "))));
}

void TestSimulator::stopIsPromptAndNothingIsPublishedAfter_data()
{
    QTest::addColumn<int>("floodRate");
    QTest::newRow("regular pace") << 0;
    QTest::newRow("flood") << CBackendSimulator::kDefaultFloodRate;
}

void TestSimulator::stopIsPromptAndNothingIsPublishedAfter()
{
    QFETCH(int, floodRate);
    auto simulator = fastSimulator();
    simulator->setFloodRate(floodRate);
    DeliveryRecorder recorder;
    SubRequestPtr handle = dataCenter()->subscribe(std::string(), TradeData_OrderDetail, std::string(), recorder.callback());

    simulator->start();
    const std::uint64_t enough = floodRate > 0 ? 20000 : 20;
    QTRY_VERIFY2(simulator->publishedOrderUpdates() >= enough,
                 qPrintable(QStringLiteral("%1 order updates published").arg(simulator->publishedOrderUpdates())));
    QCOMPARE(simulator->isFlooding(), floodRate > 0);

    QElapsedTimer clock;
    clock.start();
    simulator->stop();
    QVERIFY2(clock.elapsed() < kPromptStopMs, qPrintable(QStringLiteral("stop() took %1 ms").arg(clock.elapsed())));
    QVERIFY(!simulator->isFlooding());

    // Every update counted was delivered, and after the queue drained nothing new arrives.
    const std::uint64_t published = simulator->publishedOrderUpdates();
    dataCenter()->waitForDeliveries();
    QCOMPARE(static_cast<std::uint64_t>(recorder.count.load()), published);
    QCoreApplication::processEvents();
    dataCenter()->waitForDeliveries();
    QCOMPARE(simulator->publishedOrderUpdates(), published);
    QCOMPARE(static_cast<std::uint64_t>(recorder.count.load()), published);
}

void TestSimulator::floodStaysWithinItsKeyPool()
{
    auto simulator = fastSimulator();
    simulator->setFloodRate(CBackendSimulator::kDefaultFloodRate);
    simulator->start();
    // Several times the pool: every key has been used, none beyond it.
    QTRY_VERIFY_WITH_TIMEOUT(simulator->publishedFloodUpdates() >= 4 * 3 * kFloodKeysPerAccount, kSlowWaitMs);
    simulator->stop();
    for (const CAccountInfoPtr& account : simulator->accounts()) {
        CAccountData* store = dataCenter()->getAccountData(*account);
        QVERIFY(store);
        const int regular = static_cast<int>(simulator->publishedOrderUpdates() - simulator->publishedFloodUpdates());
        const int orders = static_cast<int>(ordersOf(store).size());
        QVERIFY2(orders <= kFloodKeysPerAccount + regular,
                 qPrintable(QStringLiteral("%1 orders in one account's store").arg(orders)));
        const int running = runningOrdersOf(store);
        QVERIFY2(running > 0 && running < orders, qPrintable(QStringLiteral("%1 of %2 running").arg(running).arg(orders)));
    }
}

void TestSimulator::floodSwitchedOffJoinsItsThreads()
{
    auto simulator = fastSimulator();
    QSignalSpy rateChanges(simulator.get(), &CBackendSimulator::sigFloodRateChanged);
    simulator->start();
    simulator->setFloodRate(CBackendSimulator::kDefaultFloodRate);
    QVERIFY(simulator->isFlooding());
    QTRY_VERIFY(simulator->publishedFloodUpdates() > 1000);

    simulator->setFloodRate(0);
    QVERIFY(!simulator->isFlooding());
    const std::uint64_t flooded = simulator->publishedFloodUpdates();
    dataCenter()->waitForDeliveries();
    QCOMPARE(simulator->publishedFloodUpdates(), flooded);
    simulator->setFloodRate(0); // no change, no signal
    QCOMPARE(rateChanges.count(), 2);
    simulator->stop();
}

STATUSBAR_TEST_MAIN(TestSimulator)
#include "tst_simulator.moc"
