#include <testmain.h>

#include <eventrecorder.h>

#include <statusbar/quoteconnectstatuswidget.h>
#include <statusbar/quotewidget.h>
#include <statusbar/statusbar.h>
#include <statusbar/statusbar_p.h>
#include <statusbar/statusbarevents.h>
#include <statusbar/tooltipwidget.h>
#include <statusbar/tradewidget.h>

#include <terminalhost/accountinfo.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/quoteclient.h>
#include <terminalhost/simpletext.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QToolTip>

#include <memory>
#include <thread>

namespace {
const QString kSuccess = QStringLiteral("ic_clr_quotetrade_sucess_bg");
const QString kFail = QStringLiteral("ic_clr_quotetrade_fail_bg");
const QString kConnectedIcon = QStringLiteral("tc_img_status_bar_quoteconnect");
const QString kNoneIcon = QStringLiteral("tc_img_status_bar_quoteconnect_none");
const QString kLabelFont = QStringLiteral("fnt_default_normal_fix");
const QString kCountFont = QStringLiteral("fnt_default_small_heavy_fix");

CAccountInfoPtr account(const char* key, const char* id)
{
    return std::make_shared<CAccountInfo>(key, id);
}

// The tag hears login reports through a queued connection: run what is queued so far.
void report(const CAccountInfoPtr& account, int status)
{
    CTradeClient::instance()->reportLoginStatus(account, static_cast<EBROKER_LOGIN_STATUS>(status), "");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

// Sends QEvent::Enter or QEvent::Leave, as the pointer crossing the widget's edge would.
void cross(QWidget* widget, QEvent::Type type)
{
    QEvent event(type);
    QCoreApplication::sendEvent(widget, &event);
}

int toolTipRequests(const EventRecorder& mainWindow, int arg)
{
    int matches = 0;
    for (const RecordedEvent& event : mainWindow.events())
        matches += event.type == StatusBarEvent::TradeToolTip && event.arg == arg ? 1 : 0;
    return matches;
}

int textWidth(const QString& text, const QString& fontKey)
{
    return CSimpleText::getSize(text, fontKey).width();
}
}

class TestConnection : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }
    void cleanup() { QToolTip::hideText(); }

    // --- the quote tag ---

    void quoteTagFollowsOnlyTheHostConnectionState_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<int>("reportedCount");
        QTest::addColumn<QString>("background");
        QTest::newRow("connected with no sources counted") << true << 0 << kSuccess;
        QTest::newRow("connected with three sources") << true << 3 << kSuccess;
        QTest::newRow("disconnected with three sources") << false << 3 << kFail;
    }
    void quoteTagFollowsOnlyTheHostConnectionState()
    {
        QFETCH(bool, connected);
        QFETCH(int, reportedCount);
        QFETCH(QString, background);
        CQuoteWidget tag;
        QCOMPARE(tag.backgroundKey(), kFail);
        CQuoteClient::instance()->setHasQuoteTradeConnect(connected);
        tag.slotQuoteConnectNum(reportedCount);
        QCOMPARE(tag.backgroundKey(), background);
        // The tag follows a later change of the state too.
        CQuoteClient::instance()->setHasQuoteTradeConnect(!connected);
        QCOMPARE(tag.backgroundKey(), connected ? kFail : kSuccess);
    }

    void leftPressOnAQuoteItemAsksForTheQuoteSources_data()
    {
        QTest::addColumn<bool>("onTag");
        QTest::newRow("quote tag") << true;
        QTest::newRow("quote source count") << false;
    }
    void leftPressOnAQuoteItemAsksForTheQuoteSources()
    {
        QFETCH(bool, onTag);
        EventRecorder mainWindow;
        std::unique_ptr<CItemBaseWidget> item(onTag ? static_cast<CItemBaseWidget*>(new CQuoteWidget)
                                                    : new CQuoteConnectStatusWidget(nullptr));
        item->resize(60, 23);
        QTest::mousePress(item.get(), Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(mainWindow.count(StatusBarEvent::QuoteSources), 0);
        QTest::mousePress(item.get(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(mainWindow.count(StatusBarEvent::QuoteSources, 0), 1);
    }

    // --- the quote source count ---

    void quoteSourceShowsItsIconAndCount_data()
    {
        QTest::addColumn<int>("sources");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("count");
        QTest::newRow("none connected") << 0 << kNoneIcon << "0";
        QTest::newRow("one connected") << 1 << kConnectedIcon << "1";
        QTest::newRow("negative count") << -1 << kConnectedIcon << "-1";
        QTest::newRow("two digits") << 12 << kConnectedIcon << "12";
    }
    void quoteSourceShowsItsIconAndCount()
    {
        QFETCH(int, sources);
        QFETCH(QString, icon);
        QFETCH(QString, count);
        CQuoteConnectStatusWidget item(nullptr);
        item.setQuoteConnectNum(sources);
        QCOMPARE(item.icon()->imageKey(), icon);
        QCOMPARE(item.icon()->size(), CUiResource::instance()->getImageSize(icon));
        QCOMPARE(item.count()->getText(), count);
        QCOMPARE(item.count()->width(), textWidth(count, kCountFont));
    }

    void quoteSourceLiteFormDropsOnlyTheLabel()
    {
        CQuoteConnectStatusWidget item(nullptr);
        item.setQuoteConnectNum(3);
        const int icon = CUiResource::instance()->getImageSize(kConnectedIcon).width();
        const int label = textWidth(QStringLiteral("行情源"), kLabelFont);
        const int count = textWidth(QStringLiteral("3"), kCountFont);
        QCOMPARE(item.getMaxWidth(), icon + label + count + 32);
        QCOMPARE(item.getMinWidth(), icon + count + 16);
        item.switchToLite(true);
        QVERIFY(item.label()->isHidden());
        QVERIFY(!item.icon()->isHidden());
        QVERIFY(!item.count()->isHidden());
        item.switchToLite(false);
        QVERIFY(!item.label()->isHidden());
    }

    void quoteSourcePlacesIconCountAndLabelInARow()
    {
        // A hidden widget gets its resize event only when shown: lay it out in a shown window.
        QWidget window;
        auto* item = new CQuoteConnectStatusWidget(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        item->setQuoteConnectNum(12);
        item->resize(90, 23);
        const QWidget* icon = item->icon();
        const QWidget* count = item->count();
        const QWidget* label = item->label();
        QCOMPARE(icon->pos(), QPoint(10, (23 - icon->height()) / 2));
        // The count sits low beside the icon, like a subscript.
        QCOMPARE(count->pos(), QPoint(icon->width() + 14, (23 - count->height()) / 2 + 5));
        QCOMPARE(label->pos(), QPoint(count->x() + count->width() + 2, (23 - label->height()) / 2));
    }

    void quoteOnlyTerminalNeverShowsTheSourceCount()
    {
        getUserConfig()->setVarnoQuoteMode(true);
        CQuoteConnectStatusWidget item(nullptr);
        QVERIFY(item.count()->isHidden());
        item.setQuoteConnectNum(5);
        item.switchToLite(false);
        QCOMPARE(item.count()->getText(), QStringLiteral("5"));
        QVERIFY(item.count()->isHidden());
    }

    void quoteSourceAnswersToolTipAndActivationEvents()
    {
        EventRecorder mainWindow;
        QWidget window;
        auto* item = new CQuoteConnectStatusWidget(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(item->handleEvent(Event_ToolTip, 0, 0, QString(), nullptr));
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("行情源连接状态提示"));
        QCOMPARE(mainWindow.count(StatusBarEvent::QuoteSources), 0);
        QVERIFY(item->handleEvent(Event_Activate, 0, 0, QString(), nullptr));
        QCOMPARE(mainWindow.count(StatusBarEvent::QuoteSources, 0), 1);
        QVERIFY(!item->handleEvent(Event_Click, 0, 0, QString(), nullptr));
    }

    // --- the trade tag ---

    void tradeTagShowsSuccessOnlyWhenEveryAccountLogsIn_data()
    {
        // One account per entry, ids 1001, 1002, ...; -1: no report for that account yet.
        QTest::addColumn<QVector<int>>("statuses");
        QTest::addColumn<QString>("background");
        QTest::newRow("no accounts") << QVector<int>{} << kFail;
        QTest::newRow("both logged in") << QVector<int>{0, 0} << kSuccess;
        QTest::newRow("second failed") << QVector<int>{0, 3} << kFail;
        QTest::newRow("first still connecting") << QVector<int>{1, 0} << kFail;
        QTest::newRow("second not reported yet") << QVector<int>{0, -1} << kFail;
    }
    void tradeTagShowsSuccessOnlyWhenEveryAccountLogsIn()
    {
        QFETCH(QVector<int>, statuses);
        QFETCH(QString, background);
        EventRecorder mainWindow;
        std::vector<CAccountInfoPtr> accounts;
        for (int i = 0; i < statuses.size(); ++i)
            accounts.push_back(std::make_shared<CAccountInfo>("k" + std::to_string(i), std::to_string(1001 + i)));
        getUserConfig()->setAccountList(accounts);
        CTradeWidget tag;
        for (int i = 0; i < statuses.size(); ++i) {
            if (statuses.at(i) >= 0)
                report(accounts[i], statuses.at(i));
        }
        QCOMPARE(tag.backgroundKey(), background);
        // Without an account there is nothing to list, so the main window is not asked for a popup.
        cross(&tag, QEvent::Enter);
        QCOMPARE(toolTipRequests(mainWindow, 0), statuses.isEmpty() ? 0 : 1);
        cross(&tag, QEvent::Leave);
        QCOMPARE(toolTipRequests(mainWindow, 1), 1);
    }

    void loginReportsForHiddenOrMissingAccountsChangeNothing_data()
    {
        QTest::addColumn<QString>("filteredKey");
        QTest::addColumn<bool>("nullAccount");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("lines");
        QTest::newRow("filtered account fails") << "k2" << false << 3 << 1;
        QTest::newRow("null account fails") << "k2" << true << 3 << 1;
        // The filter names an account by its key; the id alone hides nothing.
        QTest::newRow("filter naming only the id") << "1002" << false << 0 << 2;
    }
    void loginReportsForHiddenOrMissingAccountsChangeNothing()
    {
        QFETCH(QString, filteredKey);
        QFETCH(bool, nullAccount);
        QFETCH(int, status);
        QFETCH(int, lines);
        const CAccountInfoPtr shown = account("k1", "1001");
        const CAccountInfoPtr other = account("k2", "1002");
        getUserConfig()->setAccountList({shown, other});
        getUserConfig()->setAccountFilter(filteredKey, true);
        CTradeWidget tag;
        report(shown, 0);
        report(nullAccount ? CAccountInfoPtr() : other, status);
        QCOMPARE(tag.backgroundKey(), kSuccess);
        cross(&tag, QEvent::Enter);
        QVector<QString> texts;
        tag.getText(texts);
        QCOMPARE(texts.size(), lines);
    }

    void loginReportFromAnotherThreadReachesTheTag()
    {
        const CAccountInfoPtr only = account("k1", "1001");
        getUserConfig()->setAccountList({only});
        CTradeWidget tag;
        std::thread network([only] { CTradeClient::instance()->reportLoginStatus(only, BROKER_LOGIN_SUCCESS, "ok"); });
        network.join();
        QTRY_COMPARE(tag.backgroundKey(), kSuccess);
    }

    // --- the trade popup inside the status bar ---

    void hoveringTheTradeTagShowsTheBarsPopupAboveIt()
    {
        // Listed out of id order: the popup sorts its lines by id.
        const CAccountInfoPtr later = account("k2", "2002");
        const CAccountInfoPtr earlier = account("k1", "1001");
        getUserConfig()->setAccountList({later, earlier});
        // A shown main window with the bar along its bottom, so that global positions are real.
        QWidget window;
        window.setGeometry(100, 300, 900, 24);
        auto* bar = new CStatusBar(&window);
        bar->resize(900, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* tag = bar->findChild<CTradeWidget*>();
        report(earlier, 0);
        report(later, 3);

        cross(tag, QEvent::Enter);
        ToolTipWidget* popup = CStatusBarPrivate::get(bar)->tradeToolTip;
        QVERIFY(popup && popup->isVisible());
        QCOMPARE(popup->texts(), (QVector<QString>{QStringLiteral("1001: 登录成功"), QStringLiteral("2002: 登录失败")}));
        QCOMPARE(popup->colorKeys(), (QVector<QString>{QStringLiteral("clr_global_black"), QStringLiteral("clr_global_red")}));
        const QPoint corner = tag->mapToGlobal(QPoint(0, 0));
        QCOMPARE(popup->pos(), QPoint(corner.x(), corner.y() - popup->totalHeight() - tag->height()));

        // A repeated enter while the popup is up keeps the lines it shows.
        report(later, 0);
        cross(tag, QEvent::Enter);
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->texts().last(), QStringLiteral("2002: 登录失败"));

        cross(tag, QEvent::Leave);
        QVERIFY(!popup->isVisible());
    }
};

STATUSBAR_TEST_MAIN(TestConnection)
#include "tst_connection.moc"
