#include <testmain.h>

#include <boost/asio/post.hpp>

#include <terminalhost/datacenter.h>
#include <terminalhost/rpcengine.h>
#include <terminalhost/tradedata.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

namespace {
const std::string kAccount = "10001";

IDataPtr order(const std::string& id, EOrderStatus status)
{
    return std::make_shared<COrderDetail>(id, kAccount, "600000", status);
}

CDataCenter* dataCenter()
{
    return TraderCenter::instance()->getDataCenter();
}
}

class TestDataCenter : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }

    void keepsOneRecordPerKeyInItsLatestState()
    {
        CAccountData* store = dataCenter()->addAccount(kAccount);
        dataCenter()->publish(kAccount, TradeData_OrderDetail, order("A", OrderStatus_Queued));
        dataCenter()->publish(kAccount, TradeData_OrderDetail, order("B", OrderStatus_Queued));
        dataCenter()->publish(kAccount, TradeData_OrderDetail, order("A", OrderStatus_Filled));
        std::vector<IDataPtr> records;
        store->getVector(TradeData_OrderDetail, records);
        QCOMPARE(records.size(), std::size_t(2));
        QCOMPARE(records[0]->getKey(), std::string("A"));
        QCOMPARE(std::static_pointer_cast<COrderDetail>(records[0])->status(), OrderStatus_Filled);
        dataCenter()->getSharedData()->getVector(TradeData_OrderDetail, records);
        QCOMPARE(records.size(), std::size_t(2));
        store->getVector(TradeData_TaskDetail, records);
        QVERIFY(records.empty());
    }

    void anAccountWithoutAStoreHasNone()
    {
        QVERIFY(!dataCenter()->getAccountData(std::string("nobody")));
        QVERIFY(!dataCenter()->subscribe("nobody", TradeData_OrderDetail, "", [](const IDataPtr&) {}));
    }

    void deliversOnEngineThreadsInPublishingOrder()
    {
        CAccountData* store = dataCenter()->addAccount(kAccount);
        std::vector<int> statuses;
        std::atomic<bool> onEngineThread{true};
        SubRequestPtr handle = store->subscribe(TradeData_OrderDetail, "", [&](const IDataPtr& record) {
            onEngineThread = onEngineThread && RPCEngine::instance()->isEngineThread();
            statuses.push_back(std::static_pointer_cast<COrderDetail>(record)->status());
        });
        for (int round = 0; round < 1000; ++round)
            dataCenter()->publish(kAccount, TradeData_OrderDetail, order("A", round % 2 ? OrderStatus_Filled : OrderStatus_Queued));
        dataCenter()->waitForDeliveries();
        QCOMPARE(statuses.size(), std::size_t(1000));
        QVERIFY(onEngineThread);
        for (std::size_t i = 0; i < statuses.size(); ++i)
            QCOMPARE(statuses[i], int(i % 2 ? OrderStatus_Filled : OrderStatus_Queued));
    }

    void aSubscriptionToOneKeyHearsOnlyThatKey()
    {
        dataCenter()->addAccount(kAccount);
        std::atomic<int> heard{0};
        SubRequestPtr handle = dataCenter()->subscribe(kAccount, TradeData_OrderDetail, "B", [&](const IDataPtr&) { ++heard; });
        dataCenter()->publish(kAccount, TradeData_OrderDetail, order("A", OrderStatus_Queued));
        dataCenter()->publish(kAccount, TradeData_OrderDetail, order("B", OrderStatus_Queued));
        dataCenter()->waitForDeliveries();
        QCOMPARE(heard.load(), 1);
    }

    void theAllAccountsStoreHearsEveryAccount()
    {
        dataCenter()->addAccount("1");
        dataCenter()->addAccount("2");
        std::atomic<int> heard{0};
        SubRequestPtr handle = dataCenter()->subscribe("", TradeData_TaskDetail, "", [&](const IDataPtr&) { ++heard; });
        dataCenter()->publish("1", TradeData_TaskDetail, std::make_shared<CTaskDetail>("t1", "1", "TWAP", 3));
        dataCenter()->publish("2", TradeData_TaskDetail, std::make_shared<CTaskDetail>("t2", "2", "VWAP", 3));
        dataCenter()->publish("3", TradeData_TaskDetail, std::make_shared<CTaskDetail>("t3", "3", "VWAP", 3));
        dataCenter()->waitForDeliveries();
        QCOMPARE(heard.load(), 3);
    }

    void noCallbackRunsOnceTheHandleIsGone()
    {
        CAccountData* store = dataCenter()->addAccount(kAccount);
        std::atomic<bool> released{false};
        std::atomic<int> lateCalls{0};
        std::atomic<int> calls{0};
        SubRequestPtr handle = store->subscribe(TradeData_OrderDetail, "", [&](const IDataPtr&) {
            ++calls;
            if (released)
                ++lateCalls;
        });
        std::atomic<bool> stop{false};
        std::thread publisher([&] {
            for (int i = 0; !stop; ++i)
                dataCenter()->publish(kAccount, TradeData_OrderDetail, order(std::to_string(i % 100), OrderStatus_Queued));
        });
        QTRY_VERIFY(calls.load() > 100);
        handle.reset();
        released = true;
        stop = true;
        publisher.join();
        dataCenter()->waitForDeliveries();
        QCOMPARE(lateCalls.load(), 0);
    }

    void aCallbackMayEndItsOwnSubscription()
    {
        CAccountData* store = dataCenter()->addAccount(kAccount);
        std::atomic<int> calls{0};
        SubRequestPtr handle;
        handle = store->subscribe(TradeData_OrderDetail, "", [&](const IDataPtr&) {
            ++calls;
            handle.reset();
        });
        dataCenter()->publish(kAccount, TradeData_OrderDetail, order("A", OrderStatus_Queued));
        dataCenter()->waitForDeliveries();
        dataCenter()->publish(kAccount, TradeData_OrderDetail, order("A", OrderStatus_Filled));
        dataCenter()->waitForDeliveries();
        QCOMPARE(calls.load(), 1);
    }

    void ordersCountAsCompletedOnlyOnceTheyCannotTrade_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("completed");
        QTest::newRow("submitting") << int(OrderStatus_Submitting) << false;
        QTest::newRow("queued") << int(OrderStatus_Queued) << false;
        QTest::newRow("part filled") << int(OrderStatus_PartFilled) << false;
        QTest::newRow("filled") << int(OrderStatus_Filled) << true;
        QTest::newRow("cancelled") << int(OrderStatus_Cancelled) << true;
        QTest::newRow("rejected") << int(OrderStatus_Rejected) << true;
    }
    void ordersCountAsCompletedOnlyOnceTheyCannotTrade()
    {
        QFETCH(int, status);
        QFETCH(bool, completed);
        QCOMPARE(COrderDetailHelper::completed(COrderDetail("A", kAccount, "600000", EOrderStatus(status))), completed);
    }

    void namedStrandsAreSharedAndRunInOrder()
    {
        auto strand = RPCEngine::instance()->getStrand("ui_process");
        QCOMPARE(strand.get(), RPCEngine::instance()->getStrand("ui_process").get());
        std::vector<int> seen;
        for (int i = 0; i < 100; ++i)
            boost::asio::post(*strand, [&seen, i] { seen.push_back(i); });
        RPCEngine::waitForStrand(*strand);
        QCOMPARE(seen.size(), std::size_t(100));
        QVERIFY(std::is_sorted(seen.begin(), seen.end()));
    }

    void aBusyStrandHoldsUpNoOtherStrand()
    {
        // A consumer's strand held by a long handler (the GUI-facing one, say) must not stall the
        // data center's deliveries on strands of their own: enough strands that a shared pool of
        // queues would put one of them behind the busy one.
        auto busy = RPCEngine::instance()->newStrand();
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        boost::asio::post(*busy, [released] { released.wait(); });
        // Let the busy handler go however the test ends, so the engine's thread is not kept.
        const std::unique_ptr<std::promise<void>, void (*)(std::promise<void>*)> letGo(&release, [](std::promise<void>* p) { p->set_value(); });
        constexpr int kOthers = 1000;
        std::vector<std::shared_ptr<RPCEngine::Strand>> others;
        std::atomic<int> ran{0};
        for (int i = 0; i < kOthers; ++i) {
            others.push_back(RPCEngine::instance()->newStrand());
            boost::asio::post(*others.back(), [&ran] { ++ran; });
        }
        const auto ranAll = [&ran] { return ran.load() == kOthers; };
        QTRY_VERIFY_WITH_TIMEOUT(ranAll(), 10000);
    }
};

STATUSBAR_TEST_MAIN(TestDataCenter)
#include "tst_datacenter.moc"
