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

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <unordered_map>
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
constexpr int kCheckpoints = 6;          // the flood pauses this often to compare the counts with the model
constexpr int kReloadSteps = 10;         // full reloads spread over the flood
constexpr int kReloginSteps = 100;       // re-logins spread over the flood
constexpr int kTaskStatuses = 6;         // task codes 0..5; 3 is running

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

// What one publisher has published: the latest state and the number of updates of each of its
// orders and tasks. Each record carries its update number (an order's volume, a task's name), so
// that a subscriber can tell an update that came twice, late, or not at all.
struct Model {
    std::vector<int> orderStatus;
    std::vector<int> orderUpdates;
    std::vector<int> taskStatus;
    std::vector<int> taskUpdates;
    long publishedOrders = 0;
    long publishedTasks = 0;

    explicit Model(const Flood& size)
        : orderStatus(size.orders, -1)
        , orderUpdates(size.orders, 0)
        , taskStatus(size.tasks, -1)
        , taskUpdates(size.tasks, 0)
    {
    }
    int runningOrders() const
    {
        return static_cast<int>(std::count_if(orderStatus.begin(), orderStatus.end(), [](int status) {
            return status >= 0 && !COrderDetailHelper::completed(COrderDetail("", "", "", static_cast<EOrderStatus>(status)));
        }));
    }
    int runningTasks() const { return static_cast<int>(std::count(taskStatus.begin(), taskStatus.end(), CTaskDetail::kStatusRunning)); }
};

void publishOrder(int publisher, int order, int status, Model& model)
{
    const std::string account = accountKey(publisher);
    const std::string key = "O" + std::to_string(publisher) + "-" + std::to_string(order);
    const int update = ++model.orderUpdates[order];
    model.orderStatus[order] = status;
    ++model.publishedOrders;
    TraderCenter::instance()->getDataCenter()->publish(
        account, TradeData_OrderDetail,
        std::make_shared<COrderDetail>(key, account, "600000", static_cast<EOrderStatus>(status), update));
}

void publishTask(int publisher, int task, int status, Model& model)
{
    const std::string account = accountKey(publisher);
    const std::string key = "T" + std::to_string(publisher) + "-" + std::to_string(task);
    const int update = ++model.taskUpdates[task];
    model.taskStatus[task] = status;
    ++model.publishedTasks;
    TraderCenter::instance()->getDataCenter()->publish(
        account, TradeData_TaskDetail, std::make_shared<CTaskDetail>(key, account, std::to_string(update), status));
}

// Random states for random orders and tasks, for as long as goOn(update) holds.
template <typename GoOn>
void floodRandomly(int publisher, const Flood& size, Model& model, GoOn goOn, std::atomic<long>& published)
{
    std::mt19937 random(static_cast<unsigned>(publisher) + 1u);
    std::uniform_int_distribution<int> order(0, size.orders - 1);
    std::uniform_int_distribution<int> task(0, size.tasks - 1);
    std::uniform_int_distribution<int> orderStatus(OrderStatus_Submitting, OrderStatus_Rejected);
    std::uniform_int_distribution<int> taskStatus(0, kTaskStatuses - 1);
    for (int update = 0; goOn(update); ++update) {
        publishOrder(publisher, order(random), orderStatus(random), model);
        if (update % kTaskEvery == 0)
            publishTask(publisher, task(random), taskStatus(random), model);
        published.fetch_add(1, std::memory_order_relaxed);
    }
}

/// Publishers stop here at each checkpoint until the GUI thread has compared the counts.
class Checkpoints
{
public:
    void arrive(int checkpoint)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        ++m_arrived;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_released >= checkpoint; });
    }
    bool allArrived(int checkpoint) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_arrived >= checkpoint * kPublishers;
    }
    void release(int checkpoint)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_released = checkpoint;
        m_changed.notify_all();
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_arrived = 0;
    int m_released = 0;
};

/// Hears every record of one store, on the store's delivery strand, and checks that each key's
/// updates arrive one by one, in order, none twice and none left out.
class DeliveryCheck
{
public:
    DeliveryCheck(CAccountData* store, int type)
        : m_handle(store->subscribe(type, std::string(), [this](const IDataPtr& record) { heard(record); }))
    {
    }
    long delivered() const { return m_delivered.load(); }
    QString firstFault() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_fault;
    }

private:
    void heard(const IDataPtr& record)
    {
        int update = 0;
        if (const auto* order = dynamic_cast<const COrderDetail*>(record.get()))
            update = order->volume();
        else if (const auto* task = dynamic_cast<const CTaskDetail*>(record.get()))
            update = std::stoi(task->name());
        int& last = m_lastUpdate[record->getKey()]; // the strand runs one callback at a time
        if (update != last + 1) {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_fault.isEmpty())
                m_fault = QStringLiteral("%1: update %2 arrived after update %3").arg(QString::fromStdString(record->getKey())).arg(update).arg(last);
        }
        last = std::max(last, update);
        m_delivered.fetch_add(1);
    }

    std::unordered_map<std::string, int> m_lastUpdate;
    std::atomic<long> m_delivered{0};
    mutable std::mutex m_mutex;
    QString m_fault;
    SubRequestPtr m_handle; // last: it goes first, and no callback runs after it
};

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

    void countsMatchTheModelAtEveryCheckpointOfAFloodWhileTheGuiTicksAndReloads()
    {
        const Flood size;
        const std::vector<CAccountInfoPtr> accounts = logInAccounts();
        QWidget bar;
        auto* orders = new CRunningOrdersWidget(&bar);
        auto* tasks = new CRunningTasksWidget(&bar);
        getUserConfig()->setAccountList(accounts);

        CDataCenter* dataCenter = TraderCenter::instance()->getDataCenter();
        std::vector<std::unique_ptr<DeliveryCheck>> orderChecks;
        for (int publisher = 0; publisher < kPublishers; ++publisher)
            orderChecks.push_back(std::make_unique<DeliveryCheck>(dataCenter->getAccountData(accountKey(publisher)), TradeData_OrderDetail));
        DeliveryCheck taskCheck(dataCenter->getSharedData(), TradeData_TaskDetail);

        std::vector<Model> models(kPublishers, Model(size));
        Checkpoints checkpoints;
        std::atomic<long> published{0};
        std::vector<std::thread> publishers;
        const int perPhase = size.orderUpdates / kCheckpoints;
        for (int publisher = 0; publisher < kPublishers; ++publisher) {
            publishers.emplace_back([publisher, &size, &models, &checkpoints, &published, perPhase] {
                for (int checkpoint = 1; checkpoint <= kCheckpoints; ++checkpoint) {
                    floodRandomly(publisher, size, models[publisher], [perPhase](int update) { return update < perPhase; }, published);
                    checkpoints.arrive(checkpoint);
                }
            });
        }

        const long total = static_cast<long>(perPhase) * kCheckpoints * kPublishers;
        int reloads = 0;
        int relogins = 0;
        long ticks = 0;
        for (int checkpoint = 1; checkpoint <= kCheckpoints; ++checkpoint) {
            while (!checkpoints.allArrived(checkpoint)) {
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

            // Every publisher waits here: whatever was published must now be delivered and counted.
            waitForAllCallbacks();
            orders->slotTimeout();
            tasks->slotTimeout();
            int runningOrders = 0;
            int runningTasks = 0;
            long publishedTasks = 0;
            for (int publisher = 0; publisher < kPublishers; ++publisher) {
                const Model& model = models[publisher];
                runningOrders += publisher < kCountedAccounts ? model.runningOrders() : 0;
                runningTasks += model.runningTasks();
                publishedTasks += model.publishedTasks;
                QVERIFY2(orderChecks[publisher]->firstFault().isEmpty(), qPrintable(orderChecks[publisher]->firstFault()));
                QCOMPARE(orderChecks[publisher]->delivered(), model.publishedOrders);
            }
            QVERIFY2(taskCheck.firstFault().isEmpty(), qPrintable(taskCheck.firstFault()));
            QCOMPARE(taskCheck.delivered(), publishedTasks);
            QVERIFY2(orders->counter()->getText() == QString::number(runningOrders),
                     qPrintable(QStringLiteral("checkpoint %1: %2 running orders shown, %3 published").arg(checkpoint).arg(orders->counter()->getText()).arg(runningOrders)));
            QVERIFY2(tasks->counter()->getText() == QString::number(runningTasks),
                     qPrintable(QStringLiteral("checkpoint %1: %2 running tasks shown, %3 published").arg(checkpoint).arg(tasks->counter()->getText()).arg(runningTasks)));
            checkpoints.release(checkpoint);
        }
        for (std::thread& thread : publishers)
            thread.join();
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
        std::vector<Model> models(kPublishers, Model(size));
        std::vector<std::thread> publishers;
        for (int publisher = 0; publisher < kPublishers; ++publisher) {
            publishers.emplace_back([publisher, &size, &models, &stop, &published] {
                floodRandomly(publisher, size, models[publisher], [&stop](int) { return !stop.load(); }, published);
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
