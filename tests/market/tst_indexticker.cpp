#include <testmain.h>

#include "marketfixtures.h"

#include <eventrecorder.h>

#include <statusbar/bottomrollingquoterwidget.h>

#include <terminalhost/indexbottomquoterwidget.h>

#include <QMetaObject>

#include <string>

using namespace market;

namespace {
const char* const kCodes[] = {"SH000001", "SZ399006", "SZ399001", "SH000300", "SH000688"};
const char* const kNames[] = {"上证指数", "创业板指", "深证成指", "沪深300", "科创50"};

void listAllIndices()
{
    for (int i = 0; i < CBottomRollingQuoterWidget::kDisplayCount; ++i)
        addIndex(kCodes[i], kNames[i]);
}

void tick(CBottomRollingQuoterWidget* ticker)
{
    QVERIFY(QMetaObject::invokeMethod(ticker, "slotTimeOut"));
}

/// The code of the one visible display; empty when none or several show.
QString visibleCode(const CBottomRollingQuoterWidget& ticker)
{
    QString code;
    int visible = 0;
    for (int i = 0; i < CBottomRollingQuoterWidget::kDisplayCount; ++i) {
        if (!ticker.display(i)->isHidden()) {
            code = ticker.display(i)->getStock();
            ++visible;
        }
    }
    return visible == 1 ? code : QString();
}

/// The codes shown by the next n ticks.
QStringList nextShown(CBottomRollingQuoterWidget& ticker, int n)
{
    QStringList shown;
    for (int i = 0; i < n; ++i) {
        tick(&ticker);
        shown << visibleCode(ticker);
    }
    return shown;
}

/// Ticks until the position before the first of the rotation, so that the next tick shows the first.
void rewind(CBottomRollingQuoterWidget& ticker)
{
    while (CBottomRollingQuoterWidget::shownPosition() != ticker.rotation().size() - 1)
        tick(&ticker);
}

QList<long long> subscriptionIds(const CBottomRollingQuoterWidget& ticker)
{
    QList<long long> ids;
    for (int i = 0; i < CBottomRollingQuoterWidget::kDisplayCount; ++i)
        ids << ticker.display(i)->subscriptionId();
    return ids;
}
}

class TestIndexTicker : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshHost(); }

    // Runs first: the shown position is shared by the whole process and starts at -1 once.
    void aTickRightAfterTheFirstConstructionKeepsTheCompositeIndexVisible()
    {
        QCOMPARE(CBottomRollingQuoterWidget::shownPosition(), -1);
        CBottomRollingQuoterWidget ticker(nullptr);
        QCOMPARE(visibleCode(ticker), QStringLiteral("SH000001"));
        tick(&ticker);
        QCOMPARE(visibleCode(ticker), QStringLiteral("SH000001"));
        QCOMPARE(CBottomRollingQuoterWidget::shownPosition(), 0);
    }

    void rotationCoversTheIndicesTheStockListKnows_data()
    {
        QTest::addColumn<bool>("star50Listed");
        QTest::addColumn<QStringList>("cycle");
        QTest::newRow("all five listed") << true
                                         << QStringList{QStringLiteral("SH000001"), QStringLiteral("SZ399006"), QStringLiteral("SZ399001"),
                                                        QStringLiteral("SH000300"), QStringLiteral("SH000688"), QStringLiteral("SH000001")};
        QTest::newRow("科创50 not listed") << false
                                           << QStringList{QStringLiteral("SH000001"), QStringLiteral("SZ399006"), QStringLiteral("SZ399001"),
                                                          QStringLiteral("SH000300"), QStringLiteral("SH000001")};
    }
    void rotationCoversTheIndicesTheStockListKnows()
    {
        QFETCH(bool, star50Listed);
        QFETCH(QStringList, cycle);
        listAllIndices();
        if (!star50Listed)
            CStockManager::instance()->removeInstrument(QStringLiteral("SH000688"));
        CBottomRollingQuoterWidget ticker(nullptr);
        ticker.requestAll();
        rewind(ticker);
        QCOMPARE(nextShown(ticker, cycle.size()), cycle);
    }

    void theLastIndexLeavesWhileShownAndRejoinsAtTheEnd()
    {
        listAllIndices();
        CBottomRollingQuoterWidget ticker(nullptr);
        ticker.requestAll();
        rewind(ticker);
        QCOMPARE(nextShown(ticker, 5).last(), QStringLiteral("SH000688"));

        CStockManager::instance()->removeInstrument(QStringLiteral("SH000688"));
        CStockManager::instance()->finishStockList();
        QCOMPARE(ticker.rotation().size(), 4);
        QCOMPARE(visibleCode(ticker), QString()); // nothing shows until the next tick
        QVERIFY(ticker.display(4)->isHidden());
        // Shown position 4 in a list of four: the next tick shows position 1.
        QCOMPARE(nextShown(ticker, 1), QStringList{QStringLiteral("SZ399006")});

        addIndex("SH000688", "科创50");
        ticker.requestAll();
        QCOMPARE(ticker.rotation().size(), 5);
        QCOMPARE(ticker.rotation().last()->getStock(), QStringLiteral("SH000688"));
        QCOMPARE(nextShown(ticker, 3).last(), QStringLiteral("SH000688"));
    }

    void everyRotationShareOnePosition()
    {
        listAllIndices();
        CBottomRollingQuoterWidget first(nullptr);
        CBottomRollingQuoterWidget second(nullptr);
        rewind(first);
        tick(&first);
        tick(&second);
        QCOMPARE(visibleCode(second), QStringLiteral("SZ399006"));
    }

    void statusCallbacksRequestAgainOnlyForTheProxyConnecting_data()
    {
        QTest::addColumn<int>("proxyTag");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("requestsAgain");
        QTest::newRow("proxy connected") << 0 << 0 << true;
        QTest::newRow("proxy reconnected") << 0 << 3 << true;
        QTest::newRow("proxy status 1") << 0 << 1 << false;
        QTest::newRow("proxy status 2") << 0 << 2 << false;
        QTest::newRow("other source connected") << 1 << 0 << false;
    }
    void statusCallbacksRequestAgainOnlyForTheProxyConnecting()
    {
        QFETCH(int, proxyTag);
        QFETCH(int, status);
        QFETCH(bool, requestsAgain);
        listAllIndices();
        CBottomRollingQuoterWidget ticker(nullptr);
        ticker.requestAll();
        const QList<long long> before = subscriptionIds(ticker);
        QVERIFY(QMetaObject::invokeMethod(&ticker, "slotStatusCallBack", Q_ARG(int, proxyTag), Q_ARG(int, status),
                                          Q_ARG(std::string, std::string("10.0.0.1"))));
        const QList<long long> after = subscriptionIds(ticker);
        QCOMPARE(after != before, requestsAgain);
        QVERIFY2(!after.contains(-1), "every display stays subscribed");
    }

    void theStockListAndTradeDateRequestAgainButConstructionDoesNot()
    {
        listAllIndices();
        CBottomRollingQuoterWidget ticker(nullptr);
        QCOMPARE(CFormulaManager::instance()->subscriptionCount(), 0);
        CStockManager::instance()->finishStockList();
        const QList<long long> afterList = subscriptionIds(ticker);
        QVERIFY(!afterList.contains(-1));
        QCOMPARE(CFormulaManager::instance()->subscriptionCount(), 5);
        CFormulaManager::instance()->setMarketLastTradeDate("SH", 19990104); // not today's
        QVERIFY(subscriptionIds(ticker) != afterList);
        QCOMPARE(CFormulaManager::instance()->subscriptionCount(), 5);
        QCOMPARE(CFormulaManager::instance()->getQuoterDetail(ProxyType_Stock).singleCodes.size(), std::size_t(5));
        ticker.unrequestAll();
        QCOMPARE(CFormulaManager::instance()->subscriptionCount(), 0);
        QVERIFY(!ticker.handleEvent(Event_Activate, 0, 0, QString(), nullptr));
        QVERIFY(!ticker.handleEvent(Event_Click, 0, 0, QString(), nullptr));
    }

    void theDisplayFollowsItsIndexInRiseAndFallColours_data()
    {
        QTest::addColumn<double>("last");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("percent");
        QTest::addColumn<QString>("colorKey");
        QTest::newRow("rise") << 3232.0 << QStringLiteral("+32.00") << QStringLiteral("+1.00%") << QStringLiteral("clr_global_rise");
        QTest::newRow("fall") << 3168.0 << QStringLiteral("-32.00") << QStringLiteral("-1.00%") << QStringLiteral("clr_global_fall");
        QTest::newRow("flat") << 3200.0 << QStringLiteral("0.00") << QStringLiteral("0.00%") << QStringLiteral("clr_text_default");
    }
    void theDisplayFollowsItsIndexInRiseAndFallColours()
    {
        QFETCH(double, last);
        QFETCH(QString, change);
        QFETCH(QString, percent);
        QFETCH(QString, colorKey);
        addIndex("SH000001", "上证指数");
        CIndexBottomQuoterWidget display(nullptr);
        display.setStock(QStringLiteral("SH000001"));
        QCOMPARE(display.priceText(), QStringLiteral("--"));
        display.request();
        CFormulaManager::instance()->publishQuote(std::make_shared<CQuoteSnapshot>(1, kTradeDate, "SH000001", last, 3200.0));
        QTRY_COMPARE(display.changeText(), change);
        QCOMPARE(display.nameText(), QStringLiteral("上证指数"));
        QCOMPARE(display.priceText(), QString::number(last, 'f', 2));
        QCOMPARE(display.percentText(), percent);
        QCOMPARE(display.numberColorKey(), colorKey);

        display.unrequest();
        CFormulaManager::instance()->publishQuote(std::make_shared<CQuoteSnapshot>(2, kTradeDate, "SH000001", 1.0, 3200.0));
        settleHost();
        QCoreApplication::processEvents();
        QCOMPARE(display.changeText(), change); // the last quote stays on show
    }

    void aDisplayWithoutAStockListEntryShowsItsCodeAndOpensTheQuoteViewOnDoubleClick()
    {
        EventRecorder recorder;
        QWidget bar;
        auto* display = new CIndexBottomQuoterWidget(&bar);
        display->setStock(QStringLiteral("SZ399006"));
        QCOMPARE(display->nameText(), QStringLiteral("SZ399006"));
        QTest::mouseDClick(display, Qt::LeftButton);
        QCOMPARE(recorder.count(Event_OpenQuoteView), 1);
        QCOMPARE(recorder.events().at(0).text, QStringLiteral("SZ399006"));
    }
};

STATUSBAR_TEST_MAIN(TestIndexTicker)
#include "tst_indexticker.moc"
