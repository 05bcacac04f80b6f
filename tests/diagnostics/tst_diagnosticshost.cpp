#include <testmain.h>

#include <logcapture.h>

#include <terminalhost/accountinfo.h>
#include <terminalhost/formulamanager.h>
#include <terminalhost/logcenter.h>
#include <terminalhost/msgservice.h>
#include <terminalhost/processmemory.h>
#include <terminalhost/stockmanager.h>
#include <terminalhost/strategytrademanager.h>
#include <terminalhost/tradedata.h>
#include <terminalhost/typemanager.h>

#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {
constexpr long long kTradeDate = 20240605;

// A record of each kind the data layer counts, made from a number.
struct RecordKind {
    const char* typeName;
    std::shared_ptr<void> (*make)(int);
};
const RecordKind kRecordKinds[] = {
    {"COrderDetail", [](int i) -> std::shared_ptr<void> {
         return std::make_shared<COrderDetail>("O" + std::to_string(i), "acc-1", "SH600901", OrderStatus_Queued, 100, 18.4);
     }},
    {"CTaskDetail", [](int i) -> std::shared_ptr<void> { return std::make_shared<CTaskDetail>("T" + std::to_string(i), "acc-1", "TWAP", 3); }},
    {"CAccountInfo", [](int i) -> std::shared_ptr<void> { return std::make_shared<CAccountInfo>("acc-" + std::to_string(i), "8802001"); }},
    {"CMessage", [](int i) -> std::shared_ptr<void> { return std::make_shared<CMessage>(MessageType_Trade, "成交", std::to_string(i), 0); }},
    {"Notice", [](int i) -> std::shared_ptr<void> { return std::make_shared<Notice>(i, kTradeDate, NoticeLevel_Ordinary, "公告", ""); }},
    {"CQuoteSnapshot", [](int i) -> std::shared_ptr<void> { return std::make_shared<CQuoteSnapshot>(i, kTradeDate, "SH000001", 3000.0, 2990.0); }},
    {"CInstrumentDetail", [](int i) -> std::shared_ptr<void> {
         return std::make_shared<CInstrumentDetail>("SH60" + std::to_string(i), "华信科技", "上海证券交易所");
     }},
};

std::pair<int, int> countsOf(const std::string& typeName)
{
    const TypeManager::Statistics statistics = TypeManager::instance()->getObjectStatisticks();
    const auto it = statistics.find(typeName);
    return it == statistics.end() ? std::make_pair(0, 0) : it->second;
}

CQuoteSnapshotPtr quote(const std::string& code, double last)
{
    return std::make_shared<CQuoteSnapshot>(1, kTradeDate, code, last, last);
}

TSMetaInfo snapshotMeta(const std::string& market, const std::string& code)
{
    TSMetaInfo meta;
    meta.market = market;
    meta.code = code;
    meta.metaId = MetaId_Snapshot;
    return meta;
}

std::vector<std::string> itemsOf(int category)
{
    RPCMemoryAnalysisDetail detail;
    CFormulaManager::instance()->queryMemAnalysisDetail(detail);
    const auto it = detail.items.find(category);
    return it == detail.items.end() ? std::vector<std::string>() : it->second;
}

bool hasCategory(int category)
{
    RPCMemoryAnalysisDetail detail;
    CFormulaManager::instance()->queryMemAnalysisDetail(detail);
    return detail.items.count(category) > 0;
}
}

class TestDiagnosticsHost : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }
    void cleanup() { resetHost(); }

    void objectCountsFollowRecordsCreatedAndDropped_data()
    {
        QTest::addColumn<int>("kind");
        for (int kind = 0; kind < static_cast<int>(std::size(kRecordKinds)); ++kind)
            QTest::newRow(kRecordKinds[kind].typeName) << kind;
    }
    void objectCountsFollowRecordsCreatedAndDropped()
    {
        QFETCH(int, kind);
        const RecordKind& record = kRecordKinds[kind];
        const std::pair<int, int> before = countsOf(record.typeName);
        std::vector<std::shared_ptr<void>> held;
        for (int i = 0; i < 5; ++i)
            held.push_back(record.make(i));
        const std::pair<int, int> during = countsOf(record.typeName);
        QCOMPARE(during.first - before.first, 5);
        QCOMPARE(during.second - before.second, 5);
        held.resize(2);
        const std::pair<int, int> after = countsOf(record.typeName);
        QCOMPARE(after.first - before.first, 5);
        QCOMPARE(after.second - before.second, 2);
    }

    void copiesAreCreatedAndAssignmentCreatesNothing()
    {
        const CAccountInfo account("acc-1", "88020011");
        const std::pair<int, int> before = countsOf("CAccountInfo");
        {
            CAccountInfo copy(account); // as a queued signal copies an account
            QCOMPARE(countsOf("CAccountInfo").first - before.first, 1);
            copy = CAccountInfo("acc-2", "88020012");
            QCOMPARE(countsOf("CAccountInfo").first - before.first, 2); // the temporary, not the assignment
            QCOMPARE(countsOf("CAccountInfo").second - before.second, 1);
        }
        QCOMPARE(countsOf("CAccountInfo").second, before.second);
    }

    void recordsMadeOnManyThreadsAreCountedExactly()
    {
        constexpr int kThreads = 4;
        constexpr int kPerThread = 50000;
        const std::pair<int, int> before = countsOf("COrderDetail");
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([t] {
                std::vector<COrderDetailPtr> batch;
                for (int i = 0; i < kPerThread; ++i) {
                    batch.push_back(std::make_shared<COrderDetail>(std::to_string(t * kPerThread + i), "acc", "SH600901", OrderStatus_Filled));
                    if (batch.size() == 64)
                        batch.clear();
                }
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        const std::pair<int, int> after = countsOf("COrderDetail");
        QCOMPARE(after.first - before.first, kThreads * kPerThread);
        QCOMPARE(after.second, before.second);
    }

    void countsTooLargeForAnIntReadAsNoValue()
    {
        CObjectCounter& counter = TypeManager::instance()->counter("HostTestHugeType");
        counter.setCounts(5000000000LL, 12);
        QCOMPARE(countsOf("HostTestHugeType"), std::make_pair(kNoIntValue, 12));
        counter.setCounts(7, 3);
        QCOMPARE(countsOf("HostTestHugeType"), std::make_pair(7, 3));
    }

    void memoryAnalysisListsTheQuotesKeptAndTheRunningStrategies()
    {
        QVERIFY2(hasCategory(MemoryCategory_DataCache), "the data cache is listed even while empty");
        QVERIFY(itemsOf(MemoryCategory_DataCache).empty());
        QVERIFY(!hasCategory(MemoryCategory_Strategy));

        CFormulaManager* engine = CFormulaManager::instance();
        engine->publishQuote(quote("SZ399001", 10000.0));
        engine->publishQuote(quote("SH000001", 3000.0));
        engine->publishQuote(quote("SH000001", 3001.0)); // the same instrument again: still one item
        QCOMPARE(itemsOf(MemoryCategory_DataCache), (std::vector<std::string>{"SH000001", "SZ399001"}));

        CStrategyTradeManager* strategies = CStrategyTradeManager::instance();
        strategies->startProcess("strategy-2", "网格策略-IF2606");
        strategies->startProcess("strategy-1", "趋势跟踪-AU2608");
        QCOMPARE(itemsOf(MemoryCategory_Strategy),
                 (std::vector<std::string>{"网格策略-IF2606 (strategy-2)", "趋势跟踪-AU2608 (strategy-1)"}));
        strategies->finishProcess("strategy-2");
        QCOMPARE(itemsOf(MemoryCategory_Strategy), (std::vector<std::string>{"趋势跟踪-AU2608 (strategy-1)"}));
        strategies->reset();
        QVERIFY2(!hasCategory(MemoryCategory_Strategy), "a strategy manager reset leaves models behind");
    }

    void clearCacheDropsTheQuotesAndKeepsTheSubscriptions()
    {
        CFormulaManager* engine = CFormulaManager::instance();
        auto received = std::make_shared<std::vector<std::pair<int, int>>>(); // (status, records)
        const long long id = engine->subscribeQuoter(ProxyType_Stock, snapshotMeta("SH", "000001"), TRegionInfo(),
                                                     DataDemand_HistoryAndPush, false,
                                                     [received](int, int status, const std::vector<QuoterBasePtr>& records) {
                                                         received->emplace_back(status, static_cast<int>(records.size()));
                                                     });
        QVERIFY(id > 0);
        engine->publishQuote(quote("SH000001", 3000.0));
        engine->clearCache();
        QVERIFY(itemsOf(MemoryCategory_DataCache).empty());
        QVERIFY(!engine->getSnapshot("SH000001"));
        QCOMPARE(engine->subscriptionCount(), 1);

        // A new subscriber finds nothing kept; the next quote reaches both.
        auto late = std::make_shared<std::vector<std::pair<int, int>>>();
        const long long lateId = engine->subscribeQuoter(ProxyType_Stock, snapshotMeta("SH", "000001"), TRegionInfo(),
                                                         DataDemand_HistoryAndPush, false,
                                                         [late](int, int status, const std::vector<QuoterBasePtr>& records) {
                                                             late->emplace_back(status, static_cast<int>(records.size()));
                                                         });
        engine->publishQuote(quote("SH000001", 3002.0));
        engine->waitForFeed();
        QCOMPARE(late->front(), std::make_pair(static_cast<int>(QuoterStatus_Empty), 0));
        QCOMPARE(late->back(), std::make_pair(static_cast<int>(QuoterStatus_Increment), 1));
        QCOMPARE(received->back(), std::make_pair(static_cast<int>(QuoterStatus_Increment), 1));
        QCOMPARE(itemsOf(MemoryCategory_DataCache), (std::vector<std::string>{"SH000001"}));
        engine->unsubQuoter(id, snapshotMeta("SH", "000001"));
        engine->unsubQuoter(lateId, snapshotMeta("SH", "000001"));
    }

    void trimAnswersAsTheSystemOrAsATestSets_data()
    {
        QTest::addColumn<int>("fixed"); // -1 none, else the answer set
        QTest::addColumn<bool>("expected");
#ifdef __GLIBC__
        QTest::newRow("the system's (glibc gives freed heap memory back)") << -1 << true;
#endif
        QTest::newRow("set to fail") << 0 << false;
        QTest::newRow("set to succeed") << 1 << true;
    }
    void trimAnswersAsTheSystemOrAsATestSets()
    {
        QFETCH(int, fixed);
        QFETCH(bool, expected);
        if (fixed >= 0)
            CProcessMemory::instance()->setTrimResult(fixed == 1);
        QCOMPARE(CProcessMemory::instance()->trimWorkingSet(), expected);
    }

    void trimLogsTheResidentSizeBeforeAndAfterWhenItsDebugIdIsOn()
    {
        LogCapture log("ZQDbgFile");
        CProcessMemory::instance()->trimWorkingSet();
        QVERIFY2(log.lines().isEmpty(), qPrintable(log.lines().join(QLatin1Char('\n'))));

        CLogCenter::instance()->setFileLogEnabled(CProcessMemory::kTrimDebugId, true);
        CProcessMemory::instance()->setTrimResult(false);
        CProcessMemory::instance()->trimWorkingSet();
        QCOMPARE(log.lines().size(), 1);
        static const QRegularExpression line(QStringLiteral("^DEBUG \\[dbg_id=71\\] CProcessMemory trimWorkingSet : resident (\\d+) KB -> (\\d+) KB, failed$"));
        const QRegularExpressionMatch match = line.match(log.lines().first());
        QVERIFY2(match.hasMatch(), qPrintable(log.lines().first()));
        QVERIFY(match.captured(1).toLongLong() > 0);
        QVERIFY(CProcessMemory::residentBytes() > 0);
    }
};

STATUSBAR_TEST_MAIN(TestDiagnosticsHost)
#include "tst_diagnosticshost.moc"
