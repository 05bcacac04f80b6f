#include <testmain.h>

#include "marketfixtures.h"

#include <statusbar/noticedialog.h>
#include <statusbar/noticeinfoitemdialog.h>
#include <statusbar/noticewidget.h>

#include <terminalhost/pushbutton.h>
#include <terminalhost/standardtableex.h>
#include <terminalhost/textedit.h>
#include <terminalhost/uiresource.h>

#include <QTimer>
#include <QToolTip>

using namespace market;

namespace {
constexpr int kButtonId = 1026;

/// A ticker in a shown window, as wide as the bar gives it.
struct Ticker {
    QWidget window;
    CNoticeWidget* item = new CNoticeWidget(&window);

    Ticker()
    {
        item->resize(item->getMaxWidth(), 24);
        window.resize(item->size());
        window.show();
    }
    void deliver(const char* market, int status, const std::vector<QuoterBasePtr>& records)
    {
        item->onNoticeData(0, status, records, QLatin1String(market));
    }
    /// The titles of the next n rotation steps; a highlighted one is marked with "!".
    QStringList steps(int n)
    {
        QStringList titles;
        for (int i = 0; i < n; ++i) {
            item->slotMoveTextTimeOut();
            titles << (item->isShowingImportant() ? QStringLiteral("!") : QString()) + item->currentTitle();
        }
        return titles;
    }
};

QStringList titlesOf(const NoticeList& list)
{
    QStringList titles;
    for (const std::shared_ptr<Notice>& notice : list)
        titles << QString::fromStdString(notice->title());
    return titles;
}

/// Whether any pixel of the image has exactly this colour.
bool paints(const QImage& image, const QColor& color)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color)
                return true;
        }
    }
    return false;
}
}

class TestNoticeTicker : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshHost(); }

    void duplicatesAreStoredOncePerStore()
    {
        Ticker ticker;
        ticker.deliver("SZ", QuoterStatus_Increment, batch({notice(5, 0, "甲"), notice(5, 0, "乙")}));
        ticker.deliver("SZ", QuoterStatus_Increment, batch({notice(5, 0, "甲"), notice(5, 2, "甲")}));
        ticker.deliver("SH", QuoterStatus_Increment, batch({notice(5, 0, "甲")}));
        QCOMPARE(ticker.item->ordinaryStore().value(QStringLiteral("SZ")).size(), 2);
        QCOMPARE(ticker.item->importantStore().value(QStringLiteral("SZ")).size(), 1); // the other level is stored again
        QCOMPARE(ticker.item->ordinaryStore().value(QStringLiteral("SH")).size(), 1);
        QCOMPARE(ticker.item->ordinaryList().size(), 3);
    }

    void batchesChangeOnlyWhatTheirStatusSays_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("withRecords");
        QTest::addColumn<QStringList>("ordinaryTitles");
        const QStringList before{QStringLiteral("沪二"), QStringLiteral("深一"), QStringLiteral("沪一")};
        QTest::newRow("full batch replaces its market") << int(QuoterStatus_Full) << true
                                                        << QStringList{QStringLiteral("沪新"), QStringLiteral("深一")};
        QTest::newRow("empty full batch") << int(QuoterStatus_Full) << false << before;
        QTest::newRow("status 4 with records") << int(QuoterStatus_Empty) << true << before;
        QTest::newRow("increment adds") << int(QuoterStatus_Increment) << true
                                        << QStringList{QStringLiteral("沪新"), QStringLiteral("沪二"), QStringLiteral("深一"), QStringLiteral("沪一")};
    }
    void batchesChangeOnlyWhatTheirStatusSays()
    {
        QFETCH(int, status);
        QFETCH(bool, withRecords);
        QFETCH(QStringList, ordinaryTitles);
        Ticker ticker;
        ticker.deliver("SH", QuoterStatus_Full, batch({notice(1, 0, "沪一"), notice(3, 0, "沪二"), notice(4, 1, "沪要")}));
        ticker.deliver("SZ", QuoterStatus_Full, batch({notice(2, 0, "深一")}));
        ticker.deliver("SH", status, withRecords ? batch({notice(9, 0, "沪新")}) : batch({}));
        QCOMPARE(titlesOf(ticker.item->ordinaryList()), ordinaryTitles);
        QCOMPARE(ticker.item->importantList().isEmpty(), status == QuoterStatus_Full && withRecords);
        QVERIFY(ticker.item->isReady());
    }

    void recordsWithoutTitleOrTextOrOfAnotherKindAreNeverShown()
    {
        Ticker ticker;
        ticker.deliver("SZ", QuoterStatus_Increment,
                       batch({notice(1, 0, "", "正文"), notice(2, 0, "无正文", ""),
                              std::make_shared<CQuoteSnapshot>(3, kTradeDate, "SZ399001", 1.0, 1.0), nullptr, notice(4, 0, "有效")}));
        QCOMPARE(titlesOf(ticker.item->ordinaryList()), QStringList{QStringLiteral("有效")});
        QCOMPARE(ticker.steps(2), (QStringList{QStringLiteral("有效"), QStringLiteral("有效")}));
    }

    void importantAnnouncementsTakeTurnsWithOrdinaryOnes_data()
    {
        QTest::addColumn<QStringList>("important");
        QTest::addColumn<QStringList>("ordinary");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("important only") << QStringList{QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3")} << QStringList{}
                                        << QStringList{QStringLiteral("!A1"), QStringLiteral("!A2"), QStringLiteral("!A3"), QStringLiteral("!A1")};
        QTest::newRow("both kinds") << QStringList{QStringLiteral("A1"), QStringLiteral("A2")} << QStringList{QStringLiteral("B1")}
                                    << QStringList{QStringLiteral("!A1"), QStringLiteral("B1"), QStringLiteral("!A2"), QStringLiteral("B1")};
        QTest::newRow("ordinary only") << QStringList{} << QStringList{QStringLiteral("B1"), QStringLiteral("B2")}
                                       << QStringList{QStringLiteral("B1"), QStringLiteral("B2"), QStringLiteral("B1")};
    }
    void importantAnnouncementsTakeTurnsWithOrdinaryOnes()
    {
        QFETCH(QStringList, important);
        QFETCH(QStringList, ordinary);
        QFETCH(QStringList, shown);
        Ticker ticker;
        std::vector<QuoterBasePtr> records;
        // Keys fall as the list goes on: the first title has the largest key and shows first.
        long long key = 100;
        for (const QString& title : important)
            records.push_back(notice(key--, NoticeLevel_Important, title.toStdString()));
        for (const QString& title : ordinary)
            records.push_back(notice(key--, NoticeLevel_Ordinary, title.toStdString()));
        ticker.deliver("SH", QuoterStatus_Full, records);
        QCOMPARE(ticker.steps(shown.size()), shown);
    }

    void aBatchRestartsBothListsButNotTheAlternation()
    {
        Ticker ticker;
        ticker.deliver("SH", QuoterStatus_Full, batch({notice(9, 2, "A1"), notice(8, 2, "A2"), notice(7, 0, "B1")}));
        QCOMPARE(ticker.steps(1), QStringList{QStringLiteral("!A1")});
        ticker.deliver("SZ", QuoterStatus_Increment, batch({notice(1, 0, "B0")}));
        QCOMPARE(ticker.steps(4), (QStringList{QStringLiteral("B1"), QStringLiteral("!A1"), QStringLiteral("B0"), QStringLiteral("!A2")}));
    }

    void theTitleIsDrawnInTheColourOfItsKind()
    {
        Ticker ticker;
        const QColor highlight = CUiResource::instance()->getColor(QStringLiteral("tc_clr_deptch_order_queue_price_rise"));
        const QColor plain = CUiResource::instance()->getColor(QStringLiteral("clr_global_text"));
        ticker.deliver("SH", QuoterStatus_Full, batch({notice(2, 1, "重要紧急的公告标题"), notice(1, 0, "普通的公告标题")}));
        ticker.steps(1);
        QVERIFY(!ticker.item->button()->isHidden());
        QImage image = ticker.item->grab().toImage();
        QVERIFY2(paints(image, highlight) && !paints(image, plain), "an important title is drawn in the highlight colour");
        ticker.steps(1);
        image = ticker.item->grab().toImage();
        QVERIFY2(paints(image, plain) && !paints(image, highlight), "an ordinary title is drawn in the text colour");
    }

    void aTitleTooLongEndsWithAnEllipsisAfterAWholeCharacter_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("fits") << QStringLiteral("深圳证券交易所关于发布业务规则的通知");
        QTest::newRow("too long") << QStringLiteral("深圳证券交易所关于发布业务规则的通知").repeated(3);
    }
    void aTitleTooLongEndsWithAnEllipsisAfterAWholeCharacter()
    {
        QFETCH(QString, title);
        Ticker ticker;
        const QFontMetrics metrics(ticker.item->font());
        const int room = ticker.item->width() - 39;
        QString whole = title;
        if (metrics.horizontalAdvance(title) > room) {
            whole.clear();
            while (metrics.horizontalAdvance(whole + title.at(whole.size()) + QChar(0x2026)) <= room)
                whole += title.at(whole.size());
            whole += QChar(0x2026);
        }
        // The long title must look exactly like a ticker showing its whole characters and the ellipsis.
        Ticker expected;
        ticker.deliver("SZ", QuoterStatus_Full, batch({notice(1, 0, title.toStdString())}));
        expected.deliver("SZ", QuoterStatus_Full, batch({notice(1, 0, whole.toStdString())}));
        ticker.steps(1);
        expected.steps(1);
        QCOMPARE(ticker.item->grab().toImage(), expected.item->grab().toImage());
        QHelpEvent hover(QEvent::ToolTip, QPoint(60, 12), ticker.item->mapToGlobal(QPoint(60, 12)));
        QApplication::sendEvent(ticker.item, &hover);
        QTRY_COMPARE(QToolTip::text(), title);
    }

    void anEmptiedStoreHidesTheButtonAndClearsTheTitleOnce()
    {
        Ticker ticker;
        ticker.deliver("SH", QuoterStatus_Full, batch({notice(1, 0, "沪一")}));
        ticker.steps(1);
        QVERIFY(!ticker.item->button()->isHidden());
        ticker.deliver("SH", QuoterStatus_Full, batch({notice(2, 0, "")})); // all skipped: the market empties
        ticker.steps(1);
        QVERIFY(ticker.item->button()->isHidden());
        QCOMPARE(ticker.item->currentTitle(), QString());
        QCOMPARE(ticker.item->currentContent(), QString());
    }

    void aPressOnTheTitleOpensItsText_data()
    {
        QTest::addColumn<int>("offset");   // px from the anchor
        QTest::addColumn<bool>("fromEnd"); // anchor: the title's end (one past its last pixel), else its start
        QTest::addColumn<bool>("opens");
        QTest::newRow("just left of the title") << -1 << false << false;
        QTest::newRow("first pixel") << 0 << false << true;
        QTest::newRow("last pixel") << -1 << true << true;
        QTest::newRow("right of the title") << 0 << true << false;
    }
    void aPressOnTheTitleOpensItsText()
    {
        QFETCH(int, offset);
        QFETCH(bool, fromEnd);
        QFETCH(bool, opens);
        Ticker ticker;
        ticker.deliver("SZ", QuoterStatus_Full, batch({notice(1, 0, "深市公告", "深市公告的正文")}));
        ticker.steps(1);
        const int titleStart = 39;
        const int titleWidth = QFontMetrics(ticker.item->font()).horizontalAdvance(QStringLiteral("深市公告"));
        const int x = (fromEnd ? titleStart + titleWidth : titleStart) + offset;
        QTest::mousePress(ticker.item, Qt::LeftButton, {}, QPoint(x, 12));
        QCOMPARE(ticker.item->detailDialog() != nullptr, opens);
        if (!opens)
            return;
        CNoticeInfoItemDialog* detail = ticker.item->detailDialog();
        QCOMPARE(detail->size(), QSize(620, 550));
        QCOMPARE(detail->title(), QStringLiteral("公告"));
        QCOMPARE(detail->textEdit()->text(), QStringLiteral("深市公告的正文"));
        QVERIFY(detail->isVisible());
        detail->close();
    }

    void nothingOpensBeforeAnyTitleShows()
    {
        Ticker ticker;
        QTest::mousePress(ticker.item, Qt::LeftButton, {}, QPoint(40, 12));
        QVERIFY(!ticker.item->detailDialog());
        QVERIFY(ticker.item->button()->isHidden());
    }

    void theButtonOpensTheListAsStoredWhenOpened()
    {
        Ticker ticker;
        ticker.deliver("SH", QuoterStatus_Full, batch({notice(1, 0, "沪一")}));
        ticker.steps(1);
        QTest::mouseClick(ticker.item->button(), Qt::LeftButton);
        NoticeDialog* list = ticker.item->listDialog();
        QVERIFY(list && list->isVisible());
        QCOMPARE(list->shanghaiTable()->rowCount(), 1);
        ticker.deliver("SH", QuoterStatus_Increment, batch({notice(2, 0, "沪二")}));
        QCOMPARE(list->shanghaiTable()->rowCount(), 1);
        QVERIFY(ticker.item->handleEvent(Event_Activate, kButtonId + 1, 0, QString(), nullptr)); // consumed, opens nothing new
        QCOMPARE(list->shanghaiTable()->rowCount(), 1);
        QVERIFY(ticker.item->handleEvent(Event_Activate, kButtonId, 0, QString(), nullptr));
        QCOMPARE(list->shanghaiTable()->rowCount(), 2);
        QCOMPARE(ticker.item->listDialog(), list);
        list->close();
    }

    void restingThePointerPausesTheRotation()
    {
        Ticker ticker;
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(ticker.item, &enter);
        QVERIFY(!ticker.item->rotationTimer()->isActive());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(ticker.item, &leave);
        QVERIFY(ticker.item->rotationTimer()->isActive());
        QCOMPARE(ticker.item->rotationTimer()->remainingTime() > 2000, true);
    }

    void requestSubscribesBothExchangesFromTheLastTradeDate()
    {
        CFormulaManager* manager = CFormulaManager::instance();
        manager->setMarketLastTradeDate("SZ", kTradeDate);
        manager->publishNotices("SH", QuoterStatus_Full, batch({notice(1, 2, "沪要"), notice(2, 0, "沪昨", "正文", kTradeDate - 1)}));
        manager->publishNotices("SZ", QuoterStatus_Full, batch({notice(3, 0, "深一")}));
        Ticker ticker;
        QCOMPARE(manager->subscriptionCount(), 0);
        ticker.item->request();
        QTRY_COMPARE(manager->subscriptionCount(), 2);
        settleHost();
        QCOMPARE(titlesOf(ticker.item->importantList()), QStringList{QStringLiteral("沪要")});
        QCOMPARE(titlesOf(ticker.item->ordinaryList()), QStringList{QStringLiteral("深一")});
        const QuoterDetail detail = manager->getQuoterDetail(ProxyType_ProxyStock);
        QCOMPARE(detail.proxySingleCodes, (std::vector<std::string>{"SH000001", "SZ399001"}));

        manager->publishNotice("SZ", notice(4, 0, "深二"));
        settleHost();
        QCOMPARE(ticker.item->ordinaryList().size(), 2);
        ticker.item->unrequest();
        QCOMPARE(manager->subscriptionCount(), 0);
        QCOMPARE(ticker.item->shenzhenId(), -1);
    }

    void aNewTradeDateStartsAfreshFromItsAnnouncements()
    {
        CFormulaManager* manager = CFormulaManager::instance();
        manager->setMarketLastTradeDate("SZ", kTradeDate);
        manager->publishNotices("SZ", QuoterStatus_Full, batch({notice(1, 0, "旧日")}));
        Ticker ticker;
        ticker.item->request();
        QTRY_COMPARE(manager->subscriptionCount(), 2);
        settleHost();
        ticker.steps(1);
        QVERIFY(!ticker.item->button()->isHidden());

        manager->publishNotice("SZ", notice(2, 0, "新日", "正文", kTradeDate + 1));
        manager->setMarketLastTradeDate("SZ", kTradeDate + 1);
        QVERIFY(ticker.item->button()->isHidden());
        QCOMPARE(ticker.item->currentTitle(), QString());
        QTRY_COMPARE(manager->subscriptionCount(), 2);
        settleHost();
        QCOMPARE(titlesOf(ticker.item->ordinaryList()), QStringList{QStringLiteral("新日")});
    }

    void noWorkerOutlivesItsTicker()
    {
        CFormulaManager* manager = CFormulaManager::instance();
        for (int round = 0; round < 200; ++round) {
            auto* item = new CNoticeWidget(nullptr);
            item->request();
            delete item; // a worker still subscribing would leave its subscriptions behind
            QCOMPARE(manager->subscriptionCount(), 0);
        }
    }

    void aBatchForAGoneTickerDoesNothing()
    {
        auto* item = new CNoticeWidget(nullptr);
        const boost::shared_ptr<CNoticeRequestModel> model = item->requestModel();
        const CNoticeRequestModel::Callback callback = model->callbackFor(QStringLiteral("SH"), kTradeDate);
        callback(0, QuoterStatus_Full, batch({notice(1, 0, "在")}));
        QCOMPARE(item->ordinaryList().size(), 1);
        delete item;
        callback(0, QuoterStatus_Full, batch({notice(2, 0, "不在")})); // finds no ticker
        QCOMPARE(model.use_count(), 2L);
    }

    void widthsAreTheFixedMaximumAndOneCharacter()
    {
        Ticker ticker;
        QCOMPARE(ticker.item->getMaxWidth(), 640);
        QCOMPARE(ticker.item->getMinWidth(), QFontMetrics(ticker.item->font()).horizontalAdvance(QStringLiteral("公")));
        const QFont theme = CUiResource::instance()->getFont(QStringLiteral("fnt_default_normal_fix"));
        QCOMPARE(ticker.item->font().family(), theme.family());
        QCOMPARE(ticker.item->font().pixelSize(), theme.pixelSize());
    }
};

STATUSBAR_TEST_MAIN(TestNoticeTicker)
#include "tst_noticeticker.moc"
