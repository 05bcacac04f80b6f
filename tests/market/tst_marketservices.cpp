#include <testmain.h>

#include "marketfixtures.h"

#include <terminalhost/rpcengine.h>

#include <QSignalSpy>
#include <QThread>

#include <atomic>
#include <mutex>
#include <thread>

using namespace market;

namespace {
/// Records what a subscription's callback received, and on which thread. The callback shares the
/// record, so a subscription a test leaves behind never writes into a finished test's locals.
struct Received {
    struct State {
        std::mutex mutex;
        std::vector<int> statuses;
        std::vector<std::vector<QuoterBasePtr>> batches;
        std::atomic<bool> onGuiThread{false};
    };
    std::shared_ptr<State> state = std::make_shared<State>();

    CFormulaManager::QuoterCallback callback()
    {
        return [state = state](int, int status, const std::vector<QuoterBasePtr>& records) {
            if (QThread::currentThread() == qApp->thread())
                state->onGuiThread = true;
            std::lock_guard<std::mutex> lock(state->mutex);
            state->statuses.push_back(status);
            state->batches.push_back(records);
        };
    }
    int count() const
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        return static_cast<int>(state->statuses.size());
    }
    // Read once the feed has settled.
    const std::vector<int>& statuses() const { return state->statuses; }
    const std::vector<std::vector<QuoterBasePtr>>& batches() const { return state->batches; }
    bool onGuiThread() const { return state->onGuiThread; }
};

TSMetaInfo noticeMeta(const std::string& market)
{
    TSMetaInfo meta;
    meta.market = market;
    meta.code = market == "SH" ? "000001" : "399001";
    meta.metaId = MetaId_Notice;
    return meta;
}

TSMetaInfo snapshotMeta(const std::string& market, const std::string& code)
{
    TSMetaInfo meta;
    meta.market = market;
    meta.code = code;
    meta.metaId = MetaId_Snapshot;
    return meta;
}

long long subscribe(const TSMetaInfo& meta, Received& received, const TRegionInfo& region = TRegionInfo(),
                    EProxyType type = ProxyType_ProxyStock, bool fromFullPush = false)
{
    return CFormulaManager::instance()->subscribeQuoter(type, meta, region, DataDemand_HistoryAndPush, fromFullPush,
                                                        received.callback());
}
}

class TestMarketServices : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshHost(); }

    void announcementsArriveOnTheFeedThreadAsAFullBatchThenIncrements()
    {
        CFormulaManager* manager = CFormulaManager::instance();
        manager->publishNotices("SH", QuoterStatus_Full, batch({notice(2, 0, "乙"), notice(1, 2, "甲")}));
        Received shanghai;
        Received shenzhen;
        subscribe(noticeMeta("SH"), shanghai);
        subscribe(noticeMeta("SZ"), shenzhen);
        manager->publishNotice("SH", notice(3, 0, "丙"));
        manager->publishNotice("SZ", notice(4, 1, "丁"));
        settleHost();

        QCOMPARE(shanghai.statuses(), (std::vector<int>{QuoterStatus_Full, QuoterStatus_Increment}));
        QCOMPARE(shanghai.batches()[0].size(), std::size_t(2));
        QCOMPARE(shanghai.batches()[0][0]->key(), 1LL); // oldest first
        QCOMPARE(shanghai.batches()[1][0]->key(), 3LL);
        QCOMPARE(shenzhen.statuses(), (std::vector<int>{QuoterStatus_Empty, QuoterStatus_Increment}));
        QVERIFY2(!shanghai.onGuiThread() && !shenzhen.onGuiThread(), "batches must come on the feed thread");
    }

    void theRegionLimitsWhatASubscriberReceives_data()
    {
        QTest::addColumn<long long>("startDate");
        QTest::addColumn<long long>("skipNewest");
        QTest::addColumn<int>("maxCount");
        QTest::addColumn<QList<long long>>("keys");
        QTest::newRow("everything") << 0LL << 0LL << INT_MAX << QList<long long>{10, 20, 30};
        QTest::newRow("from the trade date on") << kTradeDate << 0LL << INT_MAX << QList<long long>{20, 30};
        QTest::newRow("newest two") << 0LL << 0LL << 2 << QList<long long>{20, 30};
        QTest::newRow("newest skipped") << 0LL << 1LL << INT_MAX << QList<long long>{10, 20};
    }
    void theRegionLimitsWhatASubscriberReceives()
    {
        QFETCH(long long, startDate);
        QFETCH(long long, skipNewest);
        QFETCH(int, maxCount);
        QFETCH(QList<long long>, keys);
        CFormulaManager* manager = CFormulaManager::instance();
        manager->publishNotices("SZ", QuoterStatus_Full,
                                batch({notice(10, 0, "昨日", "正文", kTradeDate - 1), notice(20, 0, "今日一"), notice(30, 0, "今日二")}));
        TRegionInfo region;
        region.startDate = startDate;
        region.skipNewest = skipNewest;
        region.maxCount = maxCount;
        Received received;
        subscribe(noticeMeta("SZ"), received, region);
        settleHost();
        QList<long long> got;
        for (const QuoterBasePtr& record : received.batches().at(0))
            got << record->key();
        QCOMPARE(got, keys);
    }

    void noCallbackRunsAfterUnsubscribing()
    {
        CFormulaManager* manager = CFormulaManager::instance();
        Received received;
        const long long id = subscribe(noticeMeta("SZ"), received);
        manager->unsubQuoter(id + 1, noticeMeta("SZ"));           // another id: nothing ends
        manager->unsubQuoter(id, noticeMeta("SH"));               // another market: nothing ends
        QCOMPARE(manager->subscriptionCount(), 1);
        manager->unsubQuoter(id, noticeMeta("SZ"));
        QCOMPARE(manager->subscriptionCount(), 0);
        for (int i = 0; i < 50; ++i)
            manager->publishNotice("SZ", notice(i, 0, "迟到"));
        settleHost();
        QVERIFY2(received.count() <= 1, "only the full batch queued before unsubscribing may have run");
    }

    void aCallbackMayEndItsOwnSubscription()
    {
        CFormulaManager* manager = CFormulaManager::instance();
        std::atomic<int> calls{0};
        std::atomic<long long> id{-1};
        id = manager->subscribeQuoter(ProxyType_ProxyStock, noticeMeta("SH"), TRegionInfo(), DataDemand_Push, false,
                                      [&](int, int, const std::vector<QuoterBasePtr>&) {
                                          ++calls;
                                          CFormulaManager::instance()->unsubQuoter(id, noticeMeta("SH"));
                                      });
        manager->publishNotice("SH", notice(1, 0, "一"));
        manager->publishNotice("SH", notice(2, 0, "二"));
        settleHost();
        QCOMPARE(calls.load(), 1);
        QCOMPARE(manager->subscriptionCount(), 0);
    }

    void quoterDetailListsEachSourceTypesCodesByWay_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("fullPushOpen");
        QTest::addColumn<int>("fullPushCount");
        QTest::addColumn<int>("singleCount");
        QTest::newRow("direct, full push open") << int(ProxyType_Stock) << true << 3 << 2;
        QTest::newRow("direct, full push closed") << int(ProxyType_Stock) << false << 0 << 5;
        QTest::newRow("proxy, full push open") << int(ProxyType_ProxyStock) << true << 3 << 2;
    }
    void quoterDetailListsEachSourceTypesCodesByWay()
    {
        QFETCH(int, type);
        QFETCH(bool, fullPushOpen);
        QFETCH(int, fullPushCount);
        QFETCH(int, singleCount);
        CFormulaManager* manager = CFormulaManager::instance();
        QuoterPushSettings settings;
        settings.fullPushOpen = fullPushOpen;
        manager->setPushSettings(type, settings);
        Received received;
        const char* codes[] = {"600901", "601288", "601778", "603517", "688256"};
        for (int i = 0; i < 5; ++i)
            QVERIFY(subscribe(snapshotMeta("SH", codes[i]), received, TRegionInfo(), EProxyType(type), i < 3) >= 0);
        subscribe(snapshotMeta("SH", codes[0]), received, TRegionInfo(), EProxyType(type), true); // counted once

        const QuoterDetail detail = manager->getQuoterDetail(type);
        const bool proxy = type == ProxyType_ProxyStock;
        QCOMPARE(int((proxy ? detail.proxyFullPushCodes : detail.fullPushCodes).size()), fullPushCount);
        QCOMPARE(int((proxy ? detail.proxySingleCodes : detail.singleCodes).size()), singleCount);
        QVERIFY2((proxy ? detail.singleCodes : detail.proxySingleCodes).empty(), "the other way's lists stay empty");
        QCOMPARE(detail.fullPushOpen, fullPushOpen);
        QVERIFY(manager->getQuoterDetail(ProxyType_Future).singleCodes.empty());
    }

    void theSubscriptionLimitRefusesNewSingleCodes()
    {
        CFormulaManager* manager = CFormulaManager::instance();
        QuoterPushSettings settings;
        settings.subscribeLimit = 2;
        manager->setPushSettings(ProxyType_Stock, settings);
        Received received;
        QVERIFY(subscribe(snapshotMeta("SH", "000001"), received, TRegionInfo(), ProxyType_Stock) >= 0);
        const long long second = subscribe(snapshotMeta("SZ", "399001"), received, TRegionInfo(), ProxyType_Stock);
        QVERIFY(second >= 0);
        QVERIFY(subscribe(snapshotMeta("SH", "000001"), received, TRegionInfo(), ProxyType_Stock) >= 0); // already counted
        QCOMPARE(subscribe(snapshotMeta("SH", "000300"), received, TRegionInfo(), ProxyType_Stock), -1LL);
        manager->unsubQuoter(second, snapshotMeta("SZ", "399001"));
        QVERIFY(subscribe(snapshotMeta("SH", "000300"), received, TRegionInfo(), ProxyType_Stock) >= 0);
    }

    void quotesReachTheirInstrumentsSubscribersOnly()
    {
        CFormulaManager* manager = CFormulaManager::instance();
        manager->publishQuote(std::make_shared<CQuoteSnapshot>(1, kTradeDate, "SH000001", 3200.0, 3190.0));
        Received composite;
        Received chiNext;
        subscribe(snapshotMeta("SH", "000001"), composite, TRegionInfo(), ProxyType_Stock);
        subscribe(snapshotMeta("SZ", "399006"), chiNext, TRegionInfo(), ProxyType_Stock);
        manager->publishQuote(std::make_shared<CQuoteSnapshot>(2, kTradeDate, "SH000001", 3201.5, 3190.0));
        settleHost();
        QCOMPARE(composite.statuses(), (std::vector<int>{QuoterStatus_Full, QuoterStatus_Increment}));
        QCOMPARE(chiNext.statuses(), (std::vector<int>{QuoterStatus_Empty}));
        QCOMPARE(manager->getSnapshot("SH000001")->last(), 3201.5);
    }

    void tradeDateSignalsOnlyARealChange()
    {
        CFormulaManager* manager = CFormulaManager::instance();
        QSignalSpy changes(manager, &CFormulaManager::sigTradeDataChange);
        manager->setMarketLastTradeDate("SZ", 20260106);
        manager->setMarketLastTradeDate("SZ", 20260106);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).toString(), QStringLiteral("SZ"));
        QCOMPARE(manager->getMarketLastTradeDate("SZ"), 20260106LL);
        const long long today = manager->getMarketLastTradeDate("SH");
        QVERIFY2(today >= 20200101 && today <= 29991231, qPrintable(QString::number(today)));
    }

    void resettingTheHostEndsEverySubscription()
    {
        Received received;
        subscribe(noticeMeta("SH"), received);
        settleHost();
        resetHost();
        QCOMPARE(CFormulaManager::instance()->subscriptionCount(), 0);
        CFormulaManager::instance()->publishNotice("SH", notice(1, 0, "一"));
        settleHost();
        QCOMPARE(received.count(), 1);
    }

    void messagesAreNotifiedOnEngineThreadsAndListedByType()
    {
        CMsgService* service = CMsgService::instance();
        std::atomic<int> notified{0};
        std::atomic<int> offEngine{0};
        boost::signals2::scoped_connection connection = service->sigNewMessage.connect([&](const CMessagePtr&) {
            ++notified;
            if (!RPCEngine::instance()->isEngineThread())
                ++offEngine;
        });
        std::vector<std::thread> senders;
        for (int type = 0; type < 3; ++type) {
            senders.emplace_back([type, service] {
                for (int i = 0; i < 100; ++i)
                    service->addMessage(std::make_shared<CMessage>(type, "标题", "内容", i));
            });
        }
        for (std::thread& sender : senders)
            sender.join();
        service->waitForNotifications();
        QCOMPARE(notified.load(), 300);
        QCOMPARE(offEngine.load(), 0);
        QCOMPARE(service->getMessages(MessageType_Trade).size(), std::size_t(100));
        QCOMPARE(CMsgService::messageTypeNames().mid(0, 2), (QStringList{QStringLiteral("系统消息"), QStringLiteral("交易消息")}));
    }

    void replacingTheMessagesRefreshesOnlyOnAChange()
    {
        CMsgService* service = CMsgService::instance();
        QSignalSpy refreshes(service, &CMsgService::sigRefresh);
        const std::vector<CMessagePtr> list{std::make_shared<CMessage>(1, "a", "b", 0)};
        service->setMessages(MessageType_Trade, list);
        service->setMessages(MessageType_Trade, list);
        QCOMPARE(refreshes.count(), 1);
        service->clearMessages();
        service->clearMessages();
        QCOMPARE(refreshes.count(), 2);
        std::vector<CMessagePtr> many;
        for (std::size_t i = 0; i < CMsgService::kMaxPerType + 5; ++i)
            many.push_back(std::make_shared<CMessage>(0, "a", "b", static_cast<long long>(i)));
        service->setMessages(MessageType_System, many);
        QCOMPARE(service->getMessages(MessageType_System).size(), CMsgService::kMaxPerType);
        QCOMPARE(service->getMessages(MessageType_System).front()->timeMs(), 5LL); // the oldest went
    }
};

STATUSBAR_TEST_MAIN(TestMarketServices)
#include "tst_marketservices.moc"
