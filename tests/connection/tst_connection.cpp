#include <testmain.h>

#include <eventrecorder.h>

#include <currenttimewidget.h>
#include <quoteconnectstatuswidget.h>
#include <quotewidget.h>
#include <statusbar.h>
#include <tooltipwidget.h>
#include <tradewidget.h>

#include <accountinfo.h>
#include <appconfig.h>
#include <imagewidget.h>
#include <quoteclient.h>
#include <simpletext.h>
#include <simpletextwidget.h>
#include <timeservice.h>
#include <tradeclient.h>
#include <uiresource.h>
#include <userconfig.h>

#include <QToolTip>

#include <memory>
#include <thread>

Q_DECLARE_METATYPE(Qt::MouseButton)

namespace {
const QString kSuccess = QStringLiteral("ic_clr_quotetrade_sucess_bg");
const QString kFail = QStringLiteral("ic_clr_quotetrade_fail_bg");
const QString kConnectedIcon = QStringLiteral("tc_img_status_bar_quoteconnect");
const QString kNoneIcon = QStringLiteral("tc_img_status_bar_quoteconnect_none");
const QString kLabelFont = QStringLiteral("fnt_default_normal_fix");
const QString kCountFont = QStringLiteral("fnt_default_small_heavy_fix");
constexpr int kQuoteSources = 1081;
constexpr int kTradeToolTip = 1282;

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

void hover(QWidget* widget)
{
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(widget, &enter);
}

void unhover(QWidget* widget)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

int toolTipRequests(const EventRecorder& mainWindow, int arg)
{
    int matches = 0;
    for (const RecordedEvent& event : mainWindow.events())
        matches += event.type == kTradeToolTip && event.arg == arg ? 1 : 0;
    return matches;
}

int textWidth(const QString& text, const QString& fontKey)
{
    return CSimpleText::getSize(text, fontKey).width();
}

QColor colorOf(const char* key)
{
    return CUiResource::instance()->getColor(QLatin1String(key));
}

QColor pixelOf(QWidget* widget, QPoint point)
{
    return widget->grab().toImage().pixelColor(point);
}

std::unique_ptr<CItemBaseWidget> quoteItem(const QString& kind, QWidget* parent)
{
    if (kind == QLatin1String("tag"))
        return std::make_unique<CQuoteWidget>(parent);
    return std::make_unique<CQuoteConnectStatusWidget>(parent);
}

// The quote source item has no meta-object of its own, so findChild cannot tell it apart.
CQuoteConnectStatusWidget* quoteSourceOf(CStatusBar* bar)
{
    for (CItemBaseWidget* item : bar->findChildren<CItemBaseWidget*>()) {
        if (auto* source = dynamic_cast<CQuoteConnectStatusWidget*>(item))
            return source;
    }
    return nullptr;
}

// A main window with the status bar along its bottom, shown, so that global positions are real.
std::unique_ptr<QWidget> windowWithBar(int width)
{
    auto window = std::make_unique<QWidget>();
    window->move(100, 300);
    window->resize(width, 24);
    auto* bar = new CStatusBar(window.get());
    bar->resize(width, 24);
    window->show();
    return window;
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
        CQuoteClient::instance()->setHasQuoteTradeConnect(connected);
        tag.slotQuoteConnectNum(reportedCount);
        QCOMPARE(tag.backgroundKey(), background);
    }

    void quoteTagChangesColourWhenTheQuoteClientReports()
    {
        CQuoteWidget tag;
        QCOMPARE(tag.backgroundKey(), kFail);
        CQuoteClient::instance()->setHasQuoteTradeConnect(true);
        QCOMPARE(tag.backgroundKey(), kSuccess);
        CQuoteClient::instance()->setHasQuoteTradeConnect(false);
        QCOMPARE(tag.backgroundKey(), kFail);
    }

    void leftPressOnAQuoteItemAsksForTheQuoteSources_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("requests");
        QTest::newRow("tag, left button") << "tag" << Qt::LeftButton << 1;
        QTest::newRow("tag, right button") << "tag" << Qt::RightButton << 0;
        QTest::newRow("source count, left button") << "source" << Qt::LeftButton << 1;
        QTest::newRow("source count, right button") << "source" << Qt::RightButton << 0;
    }
    void leftPressOnAQuoteItemAsksForTheQuoteSources()
    {
        QFETCH(QString, kind);
        QFETCH(Qt::MouseButton, button);
        QFETCH(int, requests);
        EventRecorder mainWindow;
        std::unique_ptr<CItemBaseWidget> item = quoteItem(kind, nullptr);
        item->resize(60, 23);
        QTest::mousePress(item.get(), button, {}, QPoint(5, 5));
        QCOMPARE(mainWindow.count(kQuoteSources, 0), requests);
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

    void quoteSourceWidthsAddItsPartsAndPadding()
    {
        CQuoteConnectStatusWidget item(nullptr);
        item.setQuoteConnectNum(3);
        const int icon = CUiResource::instance()->getImageSize(kConnectedIcon).width();
        const int label = textWidth(QStringLiteral("行情源"), kLabelFont);
        const int count = textWidth(QStringLiteral("3"), kCountFont);
        QCOMPARE(item.getMaxWidth(), icon + label + count + 32);
        QCOMPARE(item.getMinWidth(), icon + count + 16);
    }

    void liteQuoteSourceDropsOnlyItsLabel()
    {
        CQuoteConnectStatusWidget item(nullptr);
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

        QVERIFY(item->handleEvent(2, 0, 0, QString(), nullptr));
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("行情源连接状态提示"));
        QCOMPARE(mainWindow.count(kQuoteSources), 0);

        QVERIFY(item->handleEvent(5, 0, 0, QString(), nullptr));
        QCOMPARE(mainWindow.count(kQuoteSources, 0), 1);
        QVERIFY(!item->handleEvent(10, 0, 0, QString(), nullptr));
    }

    void quoteSourceHighlightsWhileHoveredOrPressed()
    {
        EventRecorder mainWindow;
        CQuoteConnectStatusWidget item(nullptr);
        item.resize(90, 23);
        const QPoint inside(3, 1);
        const QPoint leftEdge(0, 11);
        QCOMPARE(pixelOf(&item, inside), colorOf("clr_statusbar_item_default_bg"));

        hover(&item);
        QCOMPARE(pixelOf(&item, inside), colorOf("clr_statusbar_item_enter_bg"));
        QCOMPARE(pixelOf(&item, leftEdge), colorOf("clr_statusbar_item_enter_border"));

        unhover(&item);
        QCOMPARE(pixelOf(&item, inside), colorOf("clr_statusbar_item_default_bg"));
        QCOMPARE(pixelOf(&item, leftEdge), colorOf("clr_statusbar_item_default_border"));

        QTest::mousePress(&item, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(pixelOf(&item, inside), colorOf("clr_statusbar_item_enter_bg"));
    }

    // --- the trade tag ---

    void tradeTagWithoutAccountsShowsFailureAndNoPopup()
    {
        EventRecorder mainWindow;
        CTradeWidget tag;
        QCOMPARE(tag.backgroundKey(), kFail);
        hover(&tag);
        QCOMPARE(toolTipRequests(mainWindow, 0), 0);
    }

    void tradeTagShowsSuccessOnlyWhenEveryAccountLogsIn_data()
    {
        // -1: no report for that account yet.
        QTest::addColumn<int>("firstStatus");
        QTest::addColumn<int>("secondStatus");
        QTest::addColumn<QString>("background");
        QTest::newRow("both logged in") << 0 << 0 << kSuccess;
        QTest::newRow("second failed") << 0 << 3 << kFail;
        QTest::newRow("first still connecting") << 1 << 0 << kFail;
        QTest::newRow("second not reported yet") << 0 << -1 << kFail;
    }
    void tradeTagShowsSuccessOnlyWhenEveryAccountLogsIn()
    {
        QFETCH(int, firstStatus);
        QFETCH(int, secondStatus);
        QFETCH(QString, background);
        const CAccountInfoPtr first = account("k1", "1001");
        const CAccountInfoPtr second = account("k2", "1002");
        getUserConfig()->setAccountList({first, second});
        CTradeWidget tag;
        report(first, firstStatus);
        if (secondStatus >= 0)
            report(second, secondStatus);
        QCOMPARE(tag.backgroundKey(), background);
    }

    void tradePopupListsAccountsInAscendingIdOrder()
    {
        EventRecorder mainWindow;
        const CAccountInfoPtr later = account("k2", "2002");
        const CAccountInfoPtr earlier = account("k1", "1001");
        getUserConfig()->setAccountList({later, earlier});
        CTradeWidget tag;
        report(earlier, 0);
        report(later, 3);

        hover(&tag);
        QCOMPARE(toolTipRequests(mainWindow, 0), 1);
        QVector<QString> lines;
        QVector<QString> colors;
        tag.getText(lines);
        tag.getColor(colors);
        QCOMPARE(lines, (QVector<QString>{QStringLiteral("1001: 登录成功"), QStringLiteral("2002: 登录失败")}));
        QCOMPARE(colors, (QVector<QString>{QStringLiteral("clr_global_black"), QStringLiteral("clr_global_red")}));

        unhover(&tag);
        QCOMPARE(toolTipRequests(mainWindow, 1), 1);
    }

    void loginReportsForHiddenOrMissingAccountsChangeNothing_data()
    {
        QTest::addColumn<QString>("filteredKey");
        QTest::addColumn<bool>("nullAccount");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("background");
        QTest::addColumn<int>("lines");
        QTest::newRow("filtered account fails") << "k2" << false << 3 << kSuccess << 1;
        QTest::newRow("null account fails") << "k2" << true << 3 << kSuccess << 1;
        // The filter names an account by its key; the id alone hides nothing.
        QTest::newRow("filter naming only the id") << "1002" << false << 0 << kSuccess << 2;
    }
    void loginReportsForHiddenOrMissingAccountsChangeNothing()
    {
        QFETCH(QString, filteredKey);
        QFETCH(bool, nullAccount);
        QFETCH(int, status);
        QFETCH(QString, background);
        QFETCH(int, lines);
        const CAccountInfoPtr shown = account("k1", "1001");
        const CAccountInfoPtr other = account("k2", "1002");
        getUserConfig()->setAccountList({shown, other});
        getUserConfig()->setAccountFilter(filteredKey, true);
        CTradeWidget tag;
        report(shown, 0);
        report(nullAccount ? CAccountInfoPtr() : other, status);
        QCOMPARE(tag.backgroundKey(), background);
        hover(&tag);
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
        const CAccountInfoPtr first = account("k1", "1001");
        const CAccountInfoPtr second = account("k2", "1002");
        getUserConfig()->setAccountList({first, second});
        std::unique_ptr<QWidget> window = windowWithBar(900);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto* bar = window->findChild<CStatusBar*>();
        auto* tag = bar->findChild<CTradeWidget*>();
        report(first, 0);
        report(second, 3);

        hover(tag);
        ToolTipWidget* popup = bar->tradeToolTip();
        QVERIFY(popup && popup->isVisible());
        QCOMPARE(popup->texts(), (QVector<QString>{QStringLiteral("1001: 登录成功"), QStringLiteral("1002: 登录失败")}));
        QCOMPARE(popup->colorKeys(), (QVector<QString>{QStringLiteral("clr_global_black"), QStringLiteral("clr_global_red")}));
        const QPoint corner = tag->mapToGlobal(QPoint(0, 0));
        QCOMPARE(popup->pos(), QPoint(corner.x(), corner.y() - popup->totalHeight() - tag->height()));

        // A repeated enter while the popup is up keeps the lines it shows.
        report(second, 0);
        hover(tag);
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->texts().last(), QStringLiteral("1002: 登录失败"));

        unhover(tag);
        QVERIFY(!popup->isVisible());
    }

    void connectionItemsSitSideBySideInTheBar()
    {
        CAppConfig::setClientType(1); // the quote source count exists outside client type 0
        const CAccountInfoPtr first = account("k1", "1001");
        const CAccountInfoPtr second = account("k2", "1002");
        getUserConfig()->setAccountList({first, second});
        std::unique_ptr<QWidget> window = windowWithBar(900);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto* bar = window->findChild<CStatusBar*>();
        CQuoteClient::instance()->setHasQuoteTradeConnect(true);
        report(first, 0);
        report(second, 0);
        bar->setNetStatus(3);
        getTimeService()->publishTime(QDateTime(QDate(2024, 1, 2), QTime(9, 5, 3)).toSecsSinceEpoch());

        const QWidget* tag = bar->findChild<CTradeWidget*>();
        const QWidget* quote = bar->findChild<CQuoteWidget*>();
        const QWidget* source = quoteSourceOf(bar);
        const QWidget* clock = bar->findChild<CCurrentTimeWidget*>();
        QVERIFY(tag && quote && source && clock);
        // Kept beside the test binary for a person to look at.
        const QImage picture = bar->grab().toImage();
        picture.save(QCoreApplication::applicationDirPath() + QStringLiteral("/connection_bar.png"));
        QVERIFY2(tag->geometry().right() < quote->x(), "trade tag overlaps the quote tag");
        QVERIFY2(quote->geometry().right() < source->x(), "quote tag overlaps the quote source");
        QVERIFY2(source->geometry().right() < clock->x(), "quote source overlaps the clock");
        QVERIFY(bar->rect().contains(clock->geometry()));

        QCOMPARE(picture.pixelColor(tag->geometry().topLeft() + QPoint(1, 1)), colorOf("ic_clr_quotetrade_sucess_bg"));
        QCOMPARE(picture.pixelColor(quote->geometry().topLeft() + QPoint(1, 1)), colorOf("ic_clr_quotetrade_sucess_bg"));
    }
};

STATUSBAR_TEST_MAIN(TestConnection)
#include "tst_connection.moc"
