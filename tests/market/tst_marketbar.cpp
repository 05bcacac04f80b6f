#include <testmain.h>

#include "marketfixtures.h"

#include <eventrecorder.h>

#include <statusbar/bottomrollingquoterwidget.h>
#include <statusbar/noticewidget.h>
#include <statusbar/orderstrategywidget.h>
#include <statusbar/rollingmessagewidget.h>
#include <statusbar/statusbar.h>
#include <statusbar/statusbar_p.h>
#include <statusbar/statusbarevents.h>
#include <statusbar/statusnetspeed.h>

#include <terminalhost/indexbottomquoterwidget.h>
#include <terminalhost/magnifierwidget.h>
#include <terminalhost/pushbutton.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QPointer>

using namespace market;

namespace {
constexpr int kBarHeight = 24;
constexpr int kTickerSlack = 50; // px the row leaves beside the announcement ticker
constexpr int kSpacing = 2;      // px between two entries of the bar

struct Presence {
    bool index = false;
    bool messages = false;
    bool notices = false;
};

Presence presenceIn(const CStatusBar& bar)
{
    const CStatusBarPrivate* d = CStatusBarPrivate::get(&bar);
    return {d->indexTicker != nullptr, d->rollingMessage != nullptr, d->noticeTicker != nullptr};
}

const char* const kIndexCodes[] = {"SH000001", "SZ399006", "SZ399001", "SH000300", "SH000688"};

// What the row leaves the announcement ticker once the fitting pass is done, from the widgets as
// they stand: the items that count against it, the separators and the order switch's allowance.
int leftoverFor(const CStatusBar& bar, int barWidth)
{
    const CStatusBarPrivate* d = CStatusBarPrivate::get(&bar);
    int occupied = d->magnifier->width() + d->netSpeed->width() + d->indexTicker->width();
    if (d->orderSwitch)
        occupied += d->orderSwitch->width();
    for (const CStatusBarPrivate::Registered& entry : d->registered) {
        if (entry.occupies)
            occupied += entry.item->width();
    }
    return barWidth - d->orderSwitchAllowance - d->separatorWidthSum - occupied - kTickerSlack;
}

int wantedWidth(CStatusBar& bar)
{
    return FittingPass::decide(CStatusBarPrivate::get(&bar)->fittingInput(), 0).wantedWidth;
}
}

class TestMarketBar : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        freshHost();
        for (const char* code : kIndexCodes)
            addIndex(code, code);
    }

    void buildsTheMarketItemsTheConfigurationAllows_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("tradeTypes");
        QTest::addColumn<bool>("onlyTrade");
        QTest::addColumn<bool>("simplifiedLogin");
        QTest::addColumn<bool>("varno");
        QTest::addColumn<bool>("index");
        QTest::addColumn<bool>("messages");
        QTest::addColumn<bool>("notices");
        QTest::newRow("a trading terminal has all three") << 0 << true << false << false << false << true << true << true;
        QTest::newRow("the quote layout counts no messages") << 2 << true << false << false << false << true << false << true;
        QTest::newRow("without trade types no messages") << 0 << false << false << false << false << true << false << true;
        QTest::newRow("only the trade module: no tickers") << 0 << true << true << false << false << false << true << false;
        QTest::newRow("simplified login: no tickers") << 0 << true << false << true << false << false << true << false;
        QTest::newRow("Varno client mode: the index ticker alone") << 0 << true << false << false << true << true << true << false;
    }
    void buildsTheMarketItemsTheConfigurationAllows()
    {
        QFETCH(int, mode);
        QFETCH(bool, tradeTypes);
        QFETCH(bool, onlyTrade);
        QFETCH(bool, simplifiedLogin);
        QFETCH(bool, varno);
        QFETCH(bool, index);
        QFETCH(bool, messages);
        QFETCH(bool, notices);
        CUserConfig* config = getUserConfig();
        config->mode = mode;
        config->setCanShowTradeType(tradeTypes);
        config->setOnlyShowTradeModule(onlyTrade);
        config->setSimpledModelLogin(simplifiedLogin);
        config->setVarnoClientMode(varno);
        CStatusBar bar(nullptr);
        const Presence built = presenceIn(bar);
        QCOMPARE(built.index, index);
        QCOMPARE(built.messages, messages);
        QCOMPARE(built.notices, notices);
        bar.request(); // whatever is missing is skipped
        const CStatusBarPrivate* d = CStatusBarPrivate::get(&bar);
        if (d->indexTicker)
            QCOMPARE(d->indexTicker->width(), 220);
    }

    void theMessageCountIsAsWideAsItsTexts()
    {
        CStatusBar bar(nullptr);
        bar.adjustWidgetWidth(wantedWidth(bar));
        CRollingMessageWidget* messages = CStatusBarPrivate::get(&bar)->rollingMessage;
        const CUiResource* resource = CUiResource::instance();
        const int title = QFontMetrics(resource->getFont(QStringLiteral("fnt_default_normal_fix"))).horizontalAdvance(QStringLiteral("消息提示:"));
        const int count = QFontMetrics(resource->getFont(QStringLiteral("fnt_default_normal_heavy_fix"))).horizontalAdvance(QStringLiteral("0"));
        QCOMPARE(messages->width(), qBound(110, title + count + 10, 150));
    }

    void theAnnouncementTickerTakesWhatTheRowLeaves_data()
    {
        QTest::addColumn<int>("width"); // px; 0: the row's wanted width, negative: that many px below it
        QTest::newRow("a wide window") << 1900;
        QTest::newRow("the row's wanted width") << 0;
        QTest::newRow("one pixel short") << -1;
        QTest::newRow("a 1280 px window") << 1280;
        QTest::newRow("a 1100 px window: the compact row and little else") << 1100;
    }
    void theAnnouncementTickerTakesWhatTheRowLeaves()
    {
        QFETCH(int, width);
        QWidget window;
        auto* bar = new CStatusBar(&window);
        const int wanted = wantedWidth(*bar);
        if (width <= 0)
            width += wanted;
        window.resize(width, kBarHeight);
        bar->setGeometry(0, 0, width, kBarHeight);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const CStatusBarPrivate* d = CStatusBarPrivate::get(bar);
        CNoticeWidget* notices = d->noticeTicker;
        const int share = width >= wanted ? notices->getMaxWidth() : std::max(0, leftoverFor(*bar, width));

        // The ticker starts after the index ticker; the stretch between it and the right-hand end
        // is what the ticker leaves over.
        QVERIFY2(notices->x() > d->indexTicker->geometry().right(), qPrintable(QStringLiteral("the ticker starts at %1").arg(notices->x())));
        QWidget* rightHandStart = nullptr;
        for (QWidget* child : bar->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!child->isHidden() && !child->isWindow() && child->x() > notices->x()
                && (!rightHandStart || child->x() < rightHandStart->x()))
                rightHandStart = child;
            QVERIFY2(child->isHidden() || child->isWindow() || child->geometry().right() < width,
                     qPrintable(QStringLiteral("%1 ends at %2 on a %3 px bar").arg(child->metaObject()->className()).arg(child->geometry().right()).arg(width)));
        }
        QVERIFY(rightHandStart);
        const int stretch = rightHandStart->x() - (notices->geometry().right() + 1) - 2 * kSpacing;
        QVERIFY2(stretch >= 0, qPrintable(QStringLiteral("the ticker overlaps the right-hand end by %1 px").arg(-stretch)));
        // Its share, or all that is left when the share is more than the row has.
        if (notices->width() < share)
            QCOMPARE(stretch, 0);
        else
            QCOMPARE(notices->width(), share);
    }

    void requestStartsTheIndexQuotesAndBothAnnouncementFeeds()
    {
        CFormulaManager* manager = CFormulaManager::instance();
        manager->setMarketLastTradeDate("SZ", kTradeDate);
        manager->publishNotices("SH", QuoterStatus_Full, batch({notice(1, 2, "沪市重要公告")}));
        manager->publishNotices("SZ", QuoterStatus_Full, batch({notice(2, 0, "深市普通公告")}));
        CStatusBar bar(nullptr);
        const CStatusBarPrivate* d = CStatusBarPrivate::get(&bar);
        QCOMPARE(manager->subscriptionCount(), 0); // nothing before the main window asks
        bar.request();
        for (int i = 0; i < CBottomRollingQuoterWidget::kDisplayCount; ++i)
            QVERIFY2(d->indexTicker->display(i)->isRequested(), kIndexCodes[i]);
        QTRY_COMPARE(manager->subscriptionCount(), CBottomRollingQuoterWidget::kDisplayCount + 2);
        settleHost();
        QTRY_COMPARE(d->noticeTicker->currentTitle(), QStringLiteral("沪市重要公告")); // without waiting for a turn
        QVERIFY(!d->noticeTicker->button()->isHidden());
    }

    void noAnnouncementWorkerOrBatchOutlivesTheBar()
    {
        CFormulaManager* manager = CFormulaManager::instance();
        for (int round = 0; round < 50; ++round) {
            auto* bar = new CStatusBar(nullptr);
            QPointer<CNoticeWidget> notices = CStatusBarPrivate::get(bar)->noticeTicker;
            const boost::shared_ptr<CNoticeRequestModel> model = notices->requestModel();
            const CNoticeRequestModel::Callback late = model->callbackFor(QStringLiteral("SZ"), kTradeDate);
            bar->request();
            delete bar; // the worker may still be subscribing: it is done before the ticker goes
            QVERIFY(!notices);
            QCOMPARE(manager->subscriptionCount(), 0);
            late(0, QuoterStatus_Full, batch({notice(round, 1, "迟到的公告")})); // finds no ticker
            QCOMPARE(model.use_count(), 2L); // this test's copy and the late callback's
        }
    }

    void aClickOnTheMessageCountClearsItAndAsksForTheMessageView()
    {
        EventRecorder mainWindow;
        QWidget window;
        auto* bar = new CStatusBar(&window);
        bar->setGeometry(0, 0, 1400, kBarHeight);
        window.resize(1400, kBarHeight);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int type : {MessageType_System, MessageType_Trade, MessageType_Trade, MessageType_Risk})
            CMsgService::instance()->addMessage(std::make_shared<CMessage>(type, "成交回报", "内容", 0));
        settleHost();
        CRollingMessageWidget* messages = CStatusBarPrivate::get(bar)->rollingMessage;
        QVERIFY(QMetaObject::invokeMethod(messages, "slotTimeout"));
        QCOMPARE(messages->countText()->getText(), QStringLiteral("3"));
        QTest::mouseClick(messages->countText(), Qt::LeftButton);
        QCOMPARE(mainWindow.count(StatusBarEvent::Messages, -1), 1);
        QCOMPARE(messages->count(), 0);
    }
};

STATUSBAR_TEST_MAIN(TestMarketBar)
#include "tst_marketbar.moc"
