#include <testmain.h>

#include <statusbar/runningorderswidget.h>
#include <statusbar/runningtaskswidget.h>

#include <terminalhost/datacenter.h>
#include <terminalhost/rpcengine.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/tradedata.h>
#include <terminalhost/userconfig.h>

#include <random>
#include <thread>

namespace {
constexpr int kAccounts = 2;
constexpr int kDays = 4;
constexpr int kOrdersPerDay = 6000;     // per account
constexpr int kUpdatesPerDay = 30000;   // per account
constexpr int kTasksPerDay = 300;       // per account
constexpr int kReloginsPerDay = 5;

CDataCenter* dataCenter()
{
    return TraderCenter::instance()->getDataCenter();
}

std::string accountKey(int account)
{
    return "R" + std::to_string(account);
}

bool running(int orderStatus)
{
    return !COrderDetailHelper::completed(COrderDetail("", "", "", static_cast<EOrderStatus>(orderStatus)));
}

// One account's trading: its orders' and tasks' latest states by key, as published.
struct Book {
    std::map<std::string, int> orders;
    std::map<std::string, int> tasks;

    int runningOrders() const
    {
        return static_cast<int>(std::count_if(orders.begin(), orders.end(), [](const auto& order) { return running(order.second); }));
    }
    int runningTasks() const
    {
        return static_cast<int>(std::count_if(tasks.begin(), tasks.end(), [](const auto& task) { return task.second == CTaskDetail::kStatusRunning; }));
    }
    // What a new trading day leaves: the records that may still change.
    void beginDay()
    {
        for (auto* records : {&orders, &tasks}) {
            for (auto it = records->begin(); it != records->end();)
                it = (records == &orders ? running(it->second) : it->second < CTaskDetail::kStatusFinished) ? std::next(it) : records->erase(it);
        }
    }
};

// A day's trading on one account from its own thread: new orders and tasks with the day in their
// keys, and random changes to them (and to the orders carried over from earlier days).
void trade(int account, int day, Book& book)
{
    std::mt19937 random(static_cast<unsigned>(day * kAccounts + account));
    const std::string key = accountKey(account);
    std::vector<std::string> ids;
    for (const auto& order : book.orders)
        ids.push_back(order.first);
    for (int update = 0; update < kUpdatesPerDay; ++update) {
        if (ids.empty() || update % (kUpdatesPerDay / kOrdersPerDay) == 0)
            ids.push_back(key + "-D" + std::to_string(day) + "-" + std::to_string(update));
        const std::string& id = ids[random() % ids.size()];
        const int status = static_cast<int>(random() % (OrderStatus_Rejected + 1));
        book.orders[id] = status;
        dataCenter()->publish(key, TradeData_OrderDetail, std::make_shared<COrderDetail>(id, key, "600000", static_cast<EOrderStatus>(status)));
        if (update % (kUpdatesPerDay / kTasksPerDay) == 0) {
            const std::string task = key + "-T" + std::to_string(day) + "-" + std::to_string(random() % kTasksPerDay);
            const int taskStatus = static_cast<int>(random() % (CTaskDetail::kStatusStopped + 1));
            book.tasks[task] = taskStatus;
            dataCenter()->publish(key, TradeData_TaskDetail, std::make_shared<CTaskDetail>(task, key, "algo", taskStatus));
        }
    }
}

void waitForAllCallbacks()
{
    dataCenter()->waitForDeliveries();
    RPCEngine::waitForStrand(*RPCEngine::instance()->getStrand("ui_process"));
}
}

class TestRetention : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        resetHost();
        waitForAllCallbacks();
    }

    void eachRecordIsKeptOnceAndSeenByItsAccountAndTheSharedStore()
    {
        CAccountData* first = dataCenter()->addAccount("A");
        CAccountData* second = dataCenter()->addAccount("B");
        for (int i = 0; i < 100; ++i) {
            const std::string account = i % 2 ? "A" : "B";
            dataCenter()->publish(account, TradeData_OrderDetail, std::make_shared<COrderDetail>(std::to_string(i), account, "600000", OrderStatus_Queued));
        }
        dataCenter()->publish("A", TradeData_OrderDetail, std::make_shared<COrderDetail>("1", "A", "600000", OrderStatus_Filled));
        QCOMPARE(dataCenter()->recordCount(TradeData_OrderDetail), std::size_t(100));
        std::vector<IDataPtr> mine;
        std::vector<IDataPtr> all;
        first->getVector(TradeData_OrderDetail, mine);
        dataCenter()->getSharedData()->getVector(TradeData_OrderDetail, all);
        QCOMPARE(mine.size(), std::size_t(50));
        QCOMPARE(all.size(), std::size_t(100));
        QCOMPARE(mine[0].get(), all[1].get()); // the same record, not a copy
        QVERIFY(mine[0]->isCompleted());
        second->getVector(TradeData_OrderDetail, mine);
        QCOMPARE(mine.size(), std::size_t(50));
    }

    void aNewTradingDayDropsCompletedRecordsOnly_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("kept");
        QTest::newRow("submitting order") << int(TradeData_OrderDetail) << int(OrderStatus_Submitting) << true;
        QTest::newRow("queued order") << int(TradeData_OrderDetail) << int(OrderStatus_Queued) << true;
        QTest::newRow("part filled order") << int(TradeData_OrderDetail) << int(OrderStatus_PartFilled) << true;
        QTest::newRow("filled order") << int(TradeData_OrderDetail) << int(OrderStatus_Filled) << false;
        QTest::newRow("cancelled order") << int(TradeData_OrderDetail) << int(OrderStatus_Cancelled) << false;
        QTest::newRow("rejected order") << int(TradeData_OrderDetail) << int(OrderStatus_Rejected) << false;
        QTest::newRow("waiting task") << int(TradeData_TaskDetail) << 0 << true;
        QTest::newRow("running task") << int(TradeData_TaskDetail) << CTaskDetail::kStatusRunning << true;
        QTest::newRow("finished task") << int(TradeData_TaskDetail) << CTaskDetail::kStatusFinished << false;
        QTest::newRow("stopped task") << int(TradeData_TaskDetail) << CTaskDetail::kStatusStopped << false;
    }
    void aNewTradingDayDropsCompletedRecordsOnly()
    {
        QFETCH(int, type);
        QFETCH(int, status);
        QFETCH(bool, kept);
        CAccountData* store = dataCenter()->addAccount("A");
        std::atomic<int> heard{0};
        SubRequestPtr handle = store->subscribe(type, "", [&heard](const IDataPtr&) { ++heard; });
        const IDataPtr record = type == TradeData_OrderDetail
            ? IDataPtr(std::make_shared<COrderDetail>("X", "A", "600000", static_cast<EOrderStatus>(status)))
            : IDataPtr(std::make_shared<CTaskDetail>("X", "A", "algo", status));
        dataCenter()->publish("A", type, record);
        dataCenter()->waitForDeliveries();
        QCOMPARE(dataCenter()->completedCount(type), std::size_t(kept ? 0 : 1));

        dataCenter()->beginTradingDay();
        dataCenter()->waitForDeliveries();
        std::vector<IDataPtr> records;
        store->getVector(type, records);
        QCOMPARE(records.size(), std::size_t(kept ? 1 : 0));
        QCOMPARE(dataCenter()->recordCount(type), std::size_t(kept ? 1 : 0));
        QCOMPARE(dataCenter()->completedCount(type), std::size_t(0));
        QCOMPARE(heard.load(), 1); // nothing is delivered for a dropped record
    }

    void countersStayExactAcrossTradingDaysWhileTheStoresShrink()
    {
        std::vector<CAccountInfoPtr> accounts;
        for (int account = 0; account < kAccounts; ++account) {
            accounts.push_back(std::make_shared<CAccountInfo>(accountKey(account), accountKey(account)));
            dataCenter()->addAccount(accountKey(account));
            CTradeClient::instance()->reportLoginStatus(accounts.back(), BROKER_LOGIN_SUCCESS, "");
        }
        QWidget bar;
        auto* orders = new CRunningOrdersWidget(&bar);
        auto* tasks = new CRunningTasksWidget(&bar);
        getUserConfig()->setAccountList(accounts);

        std::vector<Book> books(kAccounts);
        std::size_t largestStore = 0;
        for (int day = 1; day <= kDays; ++day) {
            std::vector<std::thread> traders;
            for (int account = 0; account < kAccounts; ++account)
                traders.emplace_back([account, day, &books] { trade(account, day, books[account]); });
            // Re-logins read the stores again while they fill.
            for (int relogin = 0; relogin < kReloginsPerDay; ++relogin) {
                CTradeClient::instance()->reportAccountDataInited(*accounts[relogin % kAccounts]);
                orders->slotTimeout();
                QCoreApplication::processEvents();
            }
            for (std::thread& trader : traders)
                trader.join();
            waitForAllCallbacks();
            largestStore = std::max(largestStore, dataCenter()->recordCount(TradeData_OrderDetail));

            // What the simulator does when a trading day begins.
            dataCenter()->beginTradingDay();
            getUserConfig()->reloadAccounts();
            for (Book& book : books)
                book.beginDay();
            waitForAllCallbacks();
            orders->slotTimeout();
            tasks->slotTimeout();

            int runningOrders = 0;
            int runningTasks = 0;
            std::size_t kept = 0;
            for (const Book& book : books) {
                runningOrders += book.runningOrders();
                runningTasks += book.runningTasks();
                kept += book.orders.size();
            }
            QCOMPARE(dataCenter()->recordCount(TradeData_OrderDetail), kept);
            QCOMPARE(dataCenter()->completedCount(TradeData_OrderDetail), std::size_t(0));
            QVERIFY2(orders->counter()->getText() == QString::number(runningOrders),
                     qPrintable(QStringLiteral("day %1: %2 running orders shown, %3 running").arg(day).arg(orders->counter()->getText()).arg(runningOrders)));
            QVERIFY2(tasks->counter()->getText() == QString::number(runningTasks),
                     qPrintable(QStringLiteral("day %1: %2 running tasks shown, %3 running").arg(day).arg(tasks->counter()->getText()).arg(runningTasks)));
        }
        // The stores hold one day's records at most, not all days'.
        QVERIFY2(largestStore < std::size_t(2 * kAccounts * kOrdersPerDay),
                 qPrintable(QStringLiteral("%1 orders held at a day's end").arg(largestStore)));
    }
};

STATUSBAR_TEST_MAIN(TestRetention)
#include "tst_retention.moc"
