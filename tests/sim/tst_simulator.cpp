#include "testmain.h"

#include <terminalsim/backendsimulator.h>
#include <terminalhost/datacenter.h>
#include <terminalhost/hostreset.h>
#include <terminalhost/rpcengine.h>
#include <terminalhost/serviceclient.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/tradedata.h>

#include <QElapsedTimer>
#include <QSet>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>

namespace {
constexpr double kFastSpeed = 20.0;  // the simulator's fastest pace: the first login after 30 ms, a trade step every 12.5 ms
constexpr double kSlowSpeed = 0.1;   // its slowest: a trade step every 2.5 s, the first login after 6 s
constexpr int kBandSteps = 60;       // network steps within which every band must have been seen
constexpr int kPromptStopMs = 1000;  // well below a slow step: stop() must wake its workers, not wait for them

CDataCenter* dataCenter()
{
    return TraderCenter::instance()->getDataCenter();
}

// The four latency bands as the user sees them on the latency indicator.
int bandOf(double delayMs)
{
    return delayMs < 20.0 ? 0 : delayMs < 40.0 ? 1 : delayMs < 60.0 ? 2 : 3;
}

// The (delay, connected) pairs of kBandSteps network steps, as the bar's indicator receives them.
QList<QList<QVariant>> networkWalk(quint32 seed)
{
    CBackendSimulator simulator(seed);
    getServiceClient()->rpcClient()->setConnected(true);
    QSignalSpy steps(&simulator, &CBackendSimulator::sigNetworkStep);
    for (int i = 0; i < kBandSteps; ++i)
        simulator.stepNetwork();
    return steps;
}

std::unique_ptr<CBackendSimulator> fastSimulator()
{
    auto simulator = std::make_unique<CBackendSimulator>(7);
    simulator->setSpeedFactor(kFastSpeed);
    return simulator;
}

// Counts what a subscription delivers, from which threads, and for which accounts.
struct DeliveryRecorder {
    std::atomic<int> count{0};
    std::atomic<int> offEngine{0};
    std::atomic<int> ofAnotherAccount{0};
    std::string account; ///< when set, every order must belong to it

    CAccountData::Callback callback()
    {
        return [this](const IDataPtr& record) {
            if (!RPCEngine::instance()->isEngineThread())
                ++offEngine;
            auto order = std::dynamic_pointer_cast<COrderDetail>(record);
            if (!account.empty() && (!order || order->accountKey() != account))
                ++ofAnotherAccount;
            ++count;
        };
    }
};
}

class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void visitsEveryDelayBandAndRepeatsWithAFixedSeed_data();
    void visitsEveryDelayBandAndRepeatsWithAFixedSeed();
    void reportsLoginsOffTheGuiThreadWithTheStoreReady();
    void deliversAnAccountsOrdersToASubscriberOnAnEngineThread();
    void everyUpdateIsDeliveredAndNothingIsPublishedAfterStop_data();
    void everyUpdateIsDeliveredAndNothingIsPublishedAfterStop();
    void stopWakesWorkersThatWaitForASlowStep();
    void switchingTheFloodOffWhileRunningStopsIt();
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

void TestSimulator::visitsEveryDelayBandAndRepeatsWithAFixedSeed_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::newRow("seed 1") << 1u;
    QTest::newRow("seed 7") << 7u;
    QTest::newRow("seed 2024") << 2024u;
}

void TestSimulator::visitsEveryDelayBandAndRepeatsWithAFixedSeed()
{
    QFETCH(quint32, seed);
    const QList<QList<QVariant>> walk = networkWalk(seed);
    QSet<int> bands;
    for (const QList<QVariant>& step : walk) {
        if (step.at(1).toBool()) // a dropped connection has no delay to show
            bands.insert(bandOf(step.at(0).toDouble()));
    }
    QVERIFY2(bands.size() == 4, qPrintable(QStringLiteral("bands seen in %1 steps: %2").arg(kBandSteps).arg(bands.size())));
    QCOMPARE(networkWalk(seed), walk);
}

void TestSimulator::reportsLoginsOffTheGuiThreadWithTheStoreReady()
{
    auto simulator = fastSimulator();
    std::mutex mutex;
    std::set<std::string> loggedIn;
    std::set<std::string> announced;
    std::atomic<int> onGuiThread{0};
    std::atomic<int> announcedTooEarly{0};
    QThread* gui = QThread::currentThread();
    QObject receiver;
    connect(CTradeClient::instance(), &CTradeClient::sigLoginStatus, &receiver,
            [&](const CAccountInfoPtr& account, EBROKER_LOGIN_STATUS status, const std::string&) {
                if (QThread::currentThread() == gui)
                    ++onGuiThread;
                std::lock_guard<std::mutex> lock(mutex);
                if (isLoginStatusReady(status))
                    loggedIn.insert(account->getKey());
            },
            Qt::DirectConnection);
    connect(CTradeClient::instance(), &CTradeClient::sigInitedAccountData, &receiver,
            [&](const CAccountInfo& account) {
                // Whoever hears the announcement reads the store at once; it must be there.
                if (!dataCenter()->getAccountData(account)
                    || !isLoginStatusReady(CTradeClient::instance()->getLoginStatus(account.getKey())))
                    ++announcedTooEarly;
                std::lock_guard<std::mutex> lock(mutex);
                announced.insert(account.getKey());
            },
            Qt::DirectConnection);

    simulator->start();
    const auto everyAccountIn = [&](const std::set<std::string>& keys) {
        std::lock_guard<std::mutex> lock(mutex);
        return keys.size() == simulator->accounts().size();
    };
    QTRY_VERIFY2(everyAccountIn(loggedIn), "not every account logged in");
    QTRY_VERIFY2(everyAccountIn(announced), "not every account's data was announced");
    simulator->stop();
    QCOMPARE(onGuiThread.load(), 0);
    QCOMPARE(announcedTooEarly.load(), 0);
}

void TestSimulator::deliversAnAccountsOrdersToASubscriberOnAnEngineThread()
{
    auto simulator = fastSimulator();
    simulator->start();
    const CAccountInfoPtr account = simulator->accounts().front();
    QTRY_VERIFY2(dataCenter()->getAccountData(*account), "the account never got its store");
    DeliveryRecorder recorder;
    recorder.account = account->getKey();
    SubRequestPtr handle = dataCenter()->getAccountData(*account)->subscribe(TradeData_OrderDetail, std::string(), recorder.callback());

    QTRY_VERIFY2(recorder.count.load() >= 3, qPrintable(QStringLiteral("%1 orders delivered").arg(recorder.count.load())));
    simulator->stop();
    handle.reset();
    QCOMPARE(recorder.offEngine.load(), 0);
    QCOMPARE(recorder.ofAnotherAccount.load(), 0);
}

void TestSimulator::everyUpdateIsDeliveredAndNothingIsPublishedAfterStop_data()
{
    QTest::addColumn<int>("floodRate");
    QTest::newRow("regular pace") << 0;
    QTest::newRow("flood") << CBackendSimulator::kDefaultFloodRate;
}

void TestSimulator::everyUpdateIsDeliveredAndNothingIsPublishedAfterStop()
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

    simulator->stop();
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

// At the slowest pace the workers spend seconds waiting for their next step; stop() must wake them
// rather than wait: the control panel's switch and the demo's exit call it.
void TestSimulator::stopWakesWorkersThatWaitForASlowStep()
{
    auto simulator = std::make_unique<CBackendSimulator>(7);
    simulator->setSpeedFactor(kSlowSpeed);
    std::atomic<int> reports{0};
    QObject receiver;
    connect(simulator.get(), &CBackendSimulator::sigLoginReported, &receiver, [&reports] { ++reports; }, Qt::DirectConnection);
    simulator->start();
    // The login worker reports every account as connecting, then waits for the first login; the
    // trade worker has been waiting for its first step since start().
    const int accounts = static_cast<int>(simulator->accounts().size());
    QTRY_VERIFY2(reports.load() >= accounts, qPrintable(QStringLiteral("%1 login reports").arg(reports.load())));

    QElapsedTimer clock;
    clock.start();
    simulator->stop();
    QVERIFY2(clock.elapsed() < kPromptStopMs, qPrintable(QStringLiteral("stop() took %1 ms").arg(clock.elapsed())));
    QVERIFY(!simulator->isRunning());
    QCOMPARE(reports.load(), accounts);
}

// The control panel's flood switch acts on a running simulator.
void TestSimulator::switchingTheFloodOffWhileRunningStopsIt()
{
    auto simulator = fastSimulator();
    QSignalSpy rateChanges(simulator.get(), &CBackendSimulator::sigFloodRateChanged);
    simulator->start();
    simulator->setFloodRate(CBackendSimulator::kDefaultFloodRate);
    QTRY_VERIFY(simulator->publishedFloodUpdates() > 1000);

    simulator->setFloodRate(0);
    QVERIFY(!simulator->isFlooding());
    const std::uint64_t flooded = simulator->publishedFloodUpdates();
    dataCenter()->waitForDeliveries();
    QCOMPARE(simulator->publishedFloodUpdates(), flooded);
    QCOMPARE(rateChanges.count(), 2);
    simulator->stop();
}

STATUSBAR_TEST_MAIN(TestSimulator)
#include "tst_simulator.moc"
