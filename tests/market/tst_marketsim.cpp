#include <testmain.h>

#include <terminalhost/formulamanager.h>
#include <terminalhost/msgservice.h>
#include <terminalhost/stockmanager.h>
#include <terminalsim/marketinfosimulator.h>

#include <QDate>
#include <QSignalSpy>

#include <cmath>

namespace {
std::vector<NoticePtr> noticesOf(const std::string& market)
{
    std::vector<NoticePtr> notices;
    for (const QuoterBasePtr& record : CFormulaManager::instance()->getNotices(market)) {
        if (auto notice = std::dynamic_pointer_cast<Notice>(record))
            notices.push_back(notice);
    }
    return notices;
}

QDate dateOf(long long tradeDate)
{
    return QDate(int(tradeDate / 10000), int(tradeDate / 100 % 100), int(tradeDate % 100));
}
}

class TestMarketSim : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        resetHost();
        CFormulaManager::instance()->waitForFeed();
        CMsgService::instance()->waitForNotifications();
    }

    void startListsTheIndicesQuotesThemAndAnnouncesWithoutRepeatingATitle()
    {
        QSignalSpy loads(CStockManager::instance(), &CStockManager::sigStockListFinish);
        CMarketInfoSimulator sim(1);
        sim.start();
        QCOMPARE(loads.count(), 1);
        for (const std::string& code : CMarketInfoSimulator::indexCodes()) {
            QVERIFY2(CStockManager::instance()->getInstrumentDetail(QString::fromStdString(code)), code.c_str());
            QVERIFY2(CFormulaManager::instance()->getSnapshot(code), code.c_str());
        }
        for (int i = 0; i < 120; ++i) // more than either exchange has to say in a day
            sim.pushNotice(i % 2 ? "SH" : "SZ", i % 3 == 0);
        for (const char* market : {"SH", "SZ"}) {
            const std::vector<NoticePtr> notices = noticesOf(market);
            QStringList titles;
            for (const NoticePtr& notice : notices)
                titles << QString::fromStdString(notice->title());
            QCOMPARE(titles.removeDuplicates(), 0);
            QVERIFY(notices.size() >= 6);
            QVERIFY(std::any_of(notices.begin(), notices.end(), [](const NoticePtr& n) { return n->level() != NoticeLevel_Ordinary; }));
            QVERIFY(std::all_of(notices.begin(), notices.end(), [](const NoticePtr& n) {
                return !n->title().empty() && !n->content().empty() && QString::fromStdString(n->content()).contains(QChar(0x516C)); // 公
            }));
        }
        sim.stop();
    }

    void pushedAnnouncementsAndMessagesHaveTheKindAsked_data()
    {
        QTest::addColumn<QString>("market");
        QTest::addColumn<bool>("important");
        QTest::newRow("上证, important") << QStringLiteral("SH") << true;
        QTest::newRow("深证, ordinary") << QStringLiteral("SZ") << false;
    }
    void pushedAnnouncementsAndMessagesHaveTheKindAsked()
    {
        QFETCH(QString, market);
        QFETCH(bool, important);
        CMarketInfoSimulator sim(2);
        sim.pushNotice(market.toStdString(), important);
        const std::vector<NoticePtr> notices = noticesOf(market.toStdString());
        QCOMPARE(notices.size(), std::size_t(1));
        QCOMPARE(notices[0]->level() != NoticeLevel_Ordinary, important);
        QCOMPARE(notices[0]->tradeDate(), sim.tradeDate());
        sim.pushNotice(market.toStdString(), important);
        QVERIFY2(noticesOf(market.toStdString())[1]->key() > notices[0]->key(), "later announcements have larger keys");

        for (int type = 0; type < 4; ++type)
            sim.pushMessage(type);
        for (int type = 0; type < 4; ++type)
            QCOMPARE(CMsgService::instance()->getMessages(type).size(), std::size_t(1));
    }

    void aNewTradingDayIsTheNextWeekdayOnBothExchanges()
    {
        CMarketInfoSimulator sim(3);
        sim.start();
        const long long before = sim.tradeDate();
        QSignalSpy changes(CFormulaManager::instance(), &CFormulaManager::sigTradeDataChange);
        sim.changeTradeDate();
        QCOMPARE(changes.count(), 2);
        const QDate next = dateOf(sim.tradeDate());
        QVERIFY(next > dateOf(before) && next.dayOfWeek() <= 5 && dateOf(before).daysTo(next) <= 3);
        QCOMPARE(CFormulaManager::instance()->getMarketLastTradeDate("SH"), sim.tradeDate());
        QVERIFY(noticesOf("SZ").back()->tradeDate() == sim.tradeDate());
        sim.stop();
    }

    void theLastIndexCanLeaveTheStockListAndComeBack()
    {
        CMarketInfoSimulator sim(4);
        sim.start();
        sim.setInstrumentListed(QStringLiteral("SH000688"), false);
        QVERIFY(!sim.isInstrumentListed(QStringLiteral("SH000688")));
        sim.stop();
        sim.start(); // a reload keeps it off the list
        QVERIFY(!sim.isInstrumentListed(QStringLiteral("SH000688")));
        sim.setInstrumentListed(QStringLiteral("SH000688"), true);
        QCOMPARE(QString::fromStdString(CStockManager::instance()->getInstrumentDetail(QStringLiteral("SH000688"))->name),
                 QStringLiteral("科创50"));
        sim.stop();
    }

    void indicesMoveWithinTheirDailyLimit()
    {
        CMarketInfoSimulator sim(5);
        sim.start();
        const double firstClose = CFormulaManager::instance()->getSnapshot("SH000001")->previousClose();
        bool moved = false;
        for (int step = 0; step < 500; ++step) {
            sim.stepIndices();
            for (const std::string& code : CMarketInfoSimulator::indexCodes()) {
                const CQuoteSnapshotPtr quote = CFormulaManager::instance()->getSnapshot(code);
                QVERIFY(std::abs(quote->changePercent()) <= 10.0 + 1e-9);
            }
            moved = moved || CFormulaManager::instance()->getSnapshot("SH000001")->last() != firstClose;
        }
        QVERIFY(moved);
        sim.stop();
    }
};

STATUSBAR_TEST_MAIN(TestMarketSim)
#include "tst_marketsim.moc"
