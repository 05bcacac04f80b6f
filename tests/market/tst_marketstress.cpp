#include <testmain.h>

#include "marketfixtures.h"

#include <statusbar/bottomrollingquoterwidget.h>
#include <statusbar/noticedialog.h>
#include <statusbar/noticewidget.h>
#include <statusbar/rollingmessagewidget.h>
#include <statusbar/statusbar.h>
#include <statusbar/statusbar_p.h>

#include <terminalhost/standardtableex.h>

#include <QMetaObject>
#include <QPointer>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

using namespace market;

namespace {
// ThreadSanitizer makes every step many times slower: the flood is scaled down with it.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define STATUSBAR_MARKET_STRESS_UNDER_TSAN
#endif
#endif
#if defined(__SANITIZE_THREAD__) || defined(STATUSBAR_MARKET_STRESS_UNDER_TSAN)
constexpr int kDefaultDivisor = 4;
#else
constexpr int kDefaultDivisor = 1;
#endif

constexpr int kFeeds = 4;
constexpr int kDistinctKeys = 400;        // per feed: keys repeat, so duplicates keep arriving
constexpr int kFullBatchEvery = 97;       // a full batch now and then replaces one exchange
constexpr int kDirectEvery = 3;           // every third batch goes straight to the ticker's callback
constexpr int kTradeDateSteps = 6;
constexpr int kListOpenings = 10;
constexpr int kRefitEvery = 50;           // GUI steps between two fitting passes
constexpr int kWideBar = 1400;            // px
constexpr int kNarrowBar = 1000;          // px

struct Flood {
    int fromEnvironment = qEnvironmentVariableIntValue("STATUSBAR_STRESS_DIVISOR");
    int divisor = fromEnvironment > 0 ? fromEnvironment : kDefaultDivisor;
    int batches = 25000 / divisor; // per feed
};

const char* const kIndexCodes[] = {"SH000001", "SZ399006", "SZ399001", "SH000300", "SH000688"};

/// One feed thread: announcement batches through the formula manager and straight into a held
/// callback (as a second host thread would), messages of every type, index quotes.
void feed(int id, int batches, const CNoticeRequestModel::Callback& callback, const std::atomic<bool>& stop,
          std::atomic<long>& published)
{
    std::mt19937 random(static_cast<unsigned>(id) * 7919u + 1u);
    std::uniform_int_distribution<int> key(0, kDistinctKeys - 1);
    std::uniform_int_distribution<int> level(0, 3);
    std::uniform_int_distribution<int> size(1, 6);
    std::uniform_int_distribution<int> messageType(0, 3);
    for (int round = 0; (batches < 0 || round < batches) && !stop.load(); ++round) {
        const std::string market = round % 2 == 0 ? "SH" : "SZ";
        std::vector<QuoterBasePtr> records;
        for (int i = size(random); i > 0; --i) {
            const int k = id * kDistinctKeys + key(random);
            records.push_back(notice(k, level(random), "公告" + std::to_string(k), "正文" + std::to_string(k)));
        }
        const int status = round % kFullBatchEvery == 0 ? QuoterStatus_Full : QuoterStatus_Increment;
        if (round % kDirectEvery == 0)
            callback(0, status, records);
        else
            CFormulaManager::instance()->publishNotices(market, status, records);
        CMsgService::instance()->addMessage(std::make_shared<CMessage>(messageType(random), "标题", "内容", round));
        const char* code = kIndexCodes[round % 5];
        CFormulaManager::instance()->publishQuote(std::make_shared<CQuoteSnapshot>(round, kTradeDate, code, 3000.0 + round % 50, 3000.0));
        published.fetch_add(1, std::memory_order_relaxed);
    }
}

/// The feed threads of one phase; stopped and joined however the test leaves.
struct Feeds {
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    ~Feeds() { join(); }
    void join()
    {
        stop.store(true);
        for (std::thread& thread : threads)
            thread.join();
        threads.clear();
    }
};

/// Display lists run from the largest key down and hold each stored record once.
bool consistent(const NoticeList& list, const NoticeStore& store)
{
    int stored = 0;
    for (const NoticeMultiMap& market : store)
        stored += market.size();
    if (list.size() != stored)
        return false;
    for (int i = 1; i < list.size(); ++i) {
        if (list[i - 1]->key() < list[i]->key())
            return false;
    }
    return true;
}
}

class TestMarketStress : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        freshHost();
        for (const char* code : kIndexCodes)
            addIndex(code, code);
    }

    void feedsDeliverWhileTheGuiRotatesOpensTheListChangesTheDateAndFinallyDestroysTheBar()
    {
        const Flood size;
        auto* bar = new CStatusBar(nullptr);
        const CStatusBarPrivate* d = CStatusBarPrivate::get(bar);
        QPointer<CBottomRollingQuoterWidget> quotes = d->indexTicker;
        QPointer<CRollingMessageWidget> messages = d->rollingMessage;
        QPointer<CNoticeWidget> notices = d->noticeTicker;
        QVERIFY(quotes && messages && notices);
        bar->resize(kWideBar, 24);
        bar->show();
        bar->request();
        const CNoticeRequestModel::Callback direct = notices->requestModel()->callbackFor(QStringLiteral("SZ"), kTradeDate);

        std::atomic<long> published{0};
        std::atomic<int> finished{0};
        Feeds flood;
        for (int id = 0; id < kFeeds; ++id) {
            flood.threads.emplace_back([id, &size, &direct, &flood, &published, &finished] {
                feed(id, size.batches, direct, flood.stop, published);
                finished.fetch_add(1);
            });
        }

        const long total = static_cast<long>(size.batches) * kFeeds;
        int dateChanges = 0;
        int listOpenings = 0;
        long steps = 0;
        while (finished.load() < kFeeds) {
            notices->slotMoveTextTimeOut();
            QMetaObject::invokeMethod(quotes, "slotTimeOut");
            QMetaObject::invokeMethod(messages, "slotTimeout");
            const long done = published.load(std::memory_order_relaxed);
            if (dateChanges < kTradeDateSteps && done >= total * (dateChanges + 1) / (kTradeDateSteps + 1)) {
                CFormulaManager::instance()->setMarketLastTradeDate("SZ", kTradeDate - 1 - dateChanges);
                ++dateChanges;
            }
            if (steps % kRefitEvery == 0) // the window narrows and widens: the ticker takes each leftover
                bar->adjustWidgetWidth(steps % (2 * kRefitEvery) == 0 ? kNarrowBar : kWideBar);
            if (listOpenings < kListOpenings && done >= total * (listOpenings + 1) / (kListOpenings + 1)) {
                notices->handleEvent(Event_Activate, 1026, 0, QString(), nullptr);
                messages->handleEvent(Event_Click, 101, 0, QString(), nullptr);
                ++listOpenings;
            }
            QCoreApplication::processEvents();
            ++steps;
            std::this_thread::yield();
        }
        flood.join();
        settleHost();
        QVERIFY2(dateChanges > 0 && listOpenings > 0 && steps > listOpenings,
                 qPrintable(QStringLiteral("date changes %1, list openings %2, steps %3").arg(dateChanges).arg(listOpenings).arg(steps)));
        QVERIFY(consistent(notices->importantList(), notices->importantStore()));
        QVERIFY(consistent(notices->ordinaryList(), notices->ordinaryStore()));
        QVERIFY(notices->listDialog()->shanghaiTable()->rowCount() > 0 || notices->listDialog()->shenzhenTable()->rowCount() > 0);

        // The feeds go on while the items are destroyed, and well after: none of it may reach them.
        published.store(0);
        Feeds afterwards;
        for (int id = 0; id < kFeeds; ++id)
            afterwards.threads.emplace_back([id, &direct, &afterwards, &published] { feed(id, -1, direct, afterwards.stop, published); });
        const long warmUp = size.batches / 4;
        QTRY_VERIFY_WITH_TIMEOUT(published.load() >= warmUp, 60000);
        // A new trading day: the ticker's worker may still be subscribing when the ticker goes.
        notices->slotTradeDateChange(QStringLiteral("SZ"));
        delete bar;
        QVERIFY(!quotes && !messages && !notices);
        QCOMPARE(CFormulaManager::instance()->subscriptionCount(), 0);
        const long atDestruction = published.load();
        QTRY_VERIFY_WITH_TIMEOUT(published.load() >= atDestruction + warmUp, 60000);
        afterwards.join();
        settleHost();
        QCoreApplication::processEvents();
    }
};

STATUSBAR_TEST_MAIN(TestMarketStress)
#include "tst_marketstress.moc"
