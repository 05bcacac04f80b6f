#include <testmain.h>

#include <finditem.h>

#include <statusbar/runningorderswidget.h>
#include <statusbar/runningtaskswidget.h>
#include <statusbar/statusbar.h>

#include <terminalhost/datacenter.h>
#include <terminalhost/rpcengine.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/tradedata.h>
#include <terminalhost/userconfig.h>

#include <QPointer>

#include <atomic>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {
// ThreadSanitizer makes every step about ten times slower: the flood is scaled down with it.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define STATUSBAR_STRESS_UNDER_TSAN
#endif
#endif
#if defined(__SANITIZE_THREAD__) || defined(STATUSBAR_STRESS_UNDER_TSAN)
constexpr int kDefaultDivisor = 4;
#else
constexpr int kDefaultDivisor = 1;
#endif

constexpr int kPublishers = 4;
constexpr int kTaskEvery = 5;            // one task update per this many order updates
constexpr int kCountedAccounts = 3;      // publishers 0..2 publish to ready accounts, 3 to a filtered one
constexpr int kReloadSteps = 10;         // full reloads spread over the flood
constexpr int kReloginSteps = 100;       // re-logins spread over the flood
constexpr int kRunning = 3;

// Per publisher; STATUSBAR_STRESS_DIVISOR overrides how much smaller than the full flood the run is.
struct Flood {
    int fromEnvironment = qEnvironmentVariableIntValue("STATUSBAR_STRESS_DIVISOR");
    int divisor = fromEnvironment > 0 ? fromEnvironment : kDefaultDivisor;
    int orderUpdates = 100000 / divisor;
    int orders = 20000 / divisor;
    int tasks = 2000 / divisor;
};

std::string accountKey(int publisher)
{
    return "S" + std::to_string(publisher);
}

void publishOrder(int publisher, int order, int status)
{
    const std::string account = accountKey(publisher);
    const std::string key = "O" + std::to_string(publisher) + "-" + std::to_string(order);
    TraderCenter::instance()->getDataCenter()->publish(
        account, TradeData_OrderDetail, std::make_shared<COrderDetail>(key, account, "600000", static_cast<EOrderStatus>(status)));
}

void publishTask(int publisher, int task, int status)
{
    const std::string account = accountKey(publisher);
    const std::string key = "T" + std::to_string(publisher) + "-" + std::to_string(task);
    TraderCenter::instance()->getDataCenter()->publish(
        account, TradeData_TaskDetail, std::make_shared<CTaskDetail>(key, account, "algo", status));
}

// Random states for random orders and tasks, for as long as goOn(update) holds.
template <typename GoOn>
void floodRandomly(int publisher, const Flood& size, GoOn goOn, std::atomic<long>& published)
{
    std::mt19937 random(static_cast<unsigned>(publisher) + 1u);
    std::uniform_int_distribution<int> order(0, size.orders - 1);
    std::uniform_int_distribution<int> task(0, size.tasks - 1);
    std::uniform_int_distribution<int> orderStatus(OrderStatus_Submitting, OrderStatus_Rejected);
    std::uniform_int_distribution<int> taskStatus(0, 5);
    for (int update = 0; goOn(update); ++update) {
        publishOrder(publisher, order(random), orderStatus(random));
        if (update % kTaskEvery == 0)
            publishTask(publisher, task(random), taskStatus(random));
        published.fetch_add(1, std::memory_order_relaxed);
    }
}

// The random flood, then a known final state for every order and task, so that the final count is known.
void flood(int publisher, const Flood& size, std::atomic<long>& published)
{
    floodRandomly(publisher, size, [&size](int update) { return update < size.orderUpdates; }, published);
    for (int i = 0; i < size.orders; ++i) {
        publishOrder(publisher, i, i % 3 == 0 ? OrderStatus_PartFilled : OrderStatus_Filled);
        published.fetch_add(1, std::memory_order_relaxed);
    }
    for (int i = 0; i < size.tasks; ++i)
        publishTask(publisher, i, i % 4 == 0 ? kRunning : 5);
}

std::vector<CAccountInfoPtr> logInAccounts()
{
    std::vector<CAccountInfoPtr> accounts;
    for (int publisher = 0; publisher < kPublishers; ++publisher) {
        const std::string key = accountKey(publisher);
        auto account = std::make_shared<CAccountInfo>(key, key);
        TraderCenter::instance()->getDataCenter()->addAccount(key);
        CTradeClient::instance()->reportLoginStatus(account, BROKER_LOGIN_SUCCESS, "");
        accounts.push_back(account);
    }
    getUserConfig()->setAccountFilter(QString::fromStdString(accountKey(kCountedAccounts)), true);
    return accounts;
}

void waitForAllCallbacks()
{
    TraderCenter::instance()->getDataCenter()->waitForDeliveries();
    RPCEngine::waitForStrand(*RPCEngine::instance()->getStrand("ui_process"));
}
}

class TestStress : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        resetHost();
        waitForAllCallbacks();
    }

    void countsExactlyAfterAFloodFromHostThreadsWhileTheGuiTicksAndReloads()
    {
        const Flood size;
        const std::vector<CAccountInfoPtr> accounts = logInAccounts();
        QWidget bar;
        auto* orders = new CRunningOrdersWidget(&bar);
        auto* tasks = new CRunningTasksWidget(&bar);
        getUserConfig()->setAccountList(accounts);

        std::atomic<long> published{0};
        std::atomic<int> finished{0};
        std::vector<std::thread> publishers;
        for (int publisher = 0; publisher < kPublishers; ++publisher) {
            publishers.emplace_back([publisher, &size, &published, &finished] {
                flood(publisher, size, published);
                finished.fetch_add(1);
            });
        }

        const long total = static_cast<long>(size.orderUpdates + size.orders) * kPublishers;
        int reloads = 0;
        int relogins = 0;
        long ticks = 0;
        while (finished.load() < kPublishers) {
            orders->slotTimeout();
            tasks->slotTimeout();
            ++ticks;
            const long done = published.load(std::memory_order_relaxed);
            if (reloads < kReloadSteps && done >= total * (reloads + 1) / (kReloadSteps + 1)) {
                getUserConfig()->setAccountList(accounts);
                ++reloads;
            }
            if (relogins < kReloginSteps && done >= total * (relogins + 1) / (kReloginSteps + 1)) {
                CTradeClient::instance()->reportAccountDataInited(*accounts.at(relogins % kCountedAccounts));
                ++relogins;
            }
            QCoreApplication::processEvents();
            std::this_thread::yield();
        }
        for (std::thread& thread : publishers)
            thread.join();
        waitForAllCallbacks();
        orders->slotTimeout();
        tasks->slotTimeout();

        const int expectedOrders = kCountedAccounts * ((size.orders + 2) / 3);
        const int expectedTasks = kPublishers * ((size.tasks + 3) / 4);
        QCOMPARE(orders->counter()->getText(), QString::number(expectedOrders));
        QCOMPARE(tasks->counter()->getText(), QString::number(expectedTasks));
        QVERIFY2(reloads > 0 && relogins > 0 && ticks > reloads,
                 qPrintable(QStringLiteral("reloads %1, re-logins %2, ticks %3").arg(reloads).arg(relogins).arg(ticks)));
    }

    void destroyingTheBarWhileHostThreadsStillPublishIsSafe()
    {
        const Flood size;
        const std::vector<CAccountInfoPtr> accounts = logInAccounts();
        auto* bar = new CStatusBar(nullptr);
        QPointer<CRunningOrdersWidget> orders = findItem<CRunningOrdersWidget>(bar);
        QPointer<CRunningTasksWidget> tasks = findItem<CRunningTasksWidget>(bar);
        QVERIFY2(orders && tasks, "the trading layout's bar hosts both running counters");
        bar->resize(1400, 24);
        getUserConfig()->setAccountList(accounts);

        std::atomic<bool> stop{false};
        std::atomic<long> published{0};
        std::vector<std::thread> publishers;
        for (int publisher = 0; publisher < kPublishers; ++publisher) {
            publishers.emplace_back([publisher, &size, &stop, &published] {
                floodRandomly(publisher, size, [&stop](int) { return !stop.load(); }, published);
            });
        }

        const long warmUp = size.orderUpdates / 4;
        QTRY_VERIFY_WITH_TIMEOUT(published.load() >= warmUp, 60000);
        orders->slotTimeout();
        tasks->slotTimeout();
        delete bar;
        QVERIFY(!orders && !tasks);
        const long atDestruction = published.load();
        // The flood goes on well after the bar is gone; none of it may reach its items.
        QTRY_VERIFY_WITH_TIMEOUT(published.load() >= atDestruction + warmUp, 60000);
        stop.store(true);
        for (std::thread& thread : publishers)
            thread.join();
        waitForAllCallbacks();
    }
};

STATUSBAR_TEST_MAIN(TestStress)
#include "tst_stress.moc"
