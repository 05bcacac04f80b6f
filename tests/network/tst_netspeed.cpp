#include <testmain.h>

#include <eventrecorder.h>
#include <logcapture.h>

#include <statusbar/netspeeddialog.h>
#include <statusbar/statusbar.h>
#include <statusbar/statusbar_p.h>
#include <statusbar/statusnetspeed.h>

#include <terminalhost/appconfig.h>
#include <terminalhost/cefviewmanager.h>
#include <terminalhost/config.h>
#include <terminalhost/hostreset.h>
#include <terminalhost/logcenter.h>
#include <terminalhost/serviceclient.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTimer>
#include <QToolTip>
#include <QWebEnginePage>

#include <QLabel>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <array>
#include <functional>
#include <memory>
#include <sstream>

namespace {
constexpr int kPageTimeoutMs = 60000; // the first page load of the web engine is slow on two cores
constexpr int kScriptTimeoutMs = 5000; // one answer of a loaded page

const QString kFour = QStringLiteral("tc_img_net_speed_four");
const QString kThree = QStringLiteral("tc_img_net_speed_three");
const QString kTwo = QStringLiteral("tc_img_net_speed_two");
const QString kOne = QStringLiteral("tc_img_net_speed_one");

NetConnection* connection()
{
    return getServiceClient()->rpcClient()->getConnection();
}

CStatusNetSpeed* indicator(const CStatusBar& bar)
{
    return bar.findChild<CStatusNetSpeed*>();
}

// One latency tick as the bar's 5 s timer would run it, with the host reporting delaySeconds.
void tick(CStatusBar& bar, double delaySeconds)
{
    connection()->setDelay(delaySeconds);
    QVERIFY(QMetaObject::invokeMethod(&bar, "slotUpdateNetSpeed"));
}

// Shares of the picture in the green band, the yellow band and the black of the delay line.
std::array<double, 3> coloursOf(const QImage& image)
{
    std::array<double, 3> shares{};
    const double pixel = 1.0 / (double(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.green() > c.red() + 60 && c.green() > c.blue() + 60)
                shares[0] += pixel;
            else if (c.red() > c.blue() + 60 && c.green() > c.blue() + 60)
                shares[1] += pixel;
            else if (c.red() < 20 && c.green() < 20 && c.blue() < 20)
                shares[2] += pixel;
        }
    }
    return shares;
}

// What the page answers to script, or null when it does not answer in time.
QJsonValue askPage(CNetSpeedDialog* dialog, const QString& script)
{
    auto answer = std::make_shared<QString>(); // outlives this call when the page answers late
    auto done = std::make_shared<bool>(false);
    dialog->webView()->page()->runJavaScript(QStringLiteral("JSON.stringify(%1)").arg(script), [answer, done](const QVariant& value) {
        *answer = value.toString();
        *done = true;
    });
    if (!QTest::qWaitFor([done] { return *done; }, kScriptTimeoutMs))
        return QJsonValue();
    return QJsonDocument::fromJson(QStringLiteral("[%1]").arg(*answer).toUtf8()).array().first();
}

// The page's chart state once it shows `points` points on a y axis up to yMax, else the last seen.
QJsonObject chartOnPage(CNetSpeedDialog* dialog, int points, double yMax)
{
    QJsonObject state;
    static_cast<void>(QTest::qWaitFor([&] {
        state = askPage(dialog, QStringLiteral("window.chartState")).toObject();
        return state[QLatin1String("points")].toInt() == points && state[QLatin1String("yMax")].toDouble() == yMax;
    }, kPageTimeoutMs));
    return state;
}

// One latency tick while the chart is open: the page then shows `points` points on a y axis up to
// yMax, the highest at `highest`, after `wholeLoads` loads of the whole history (none when the
// sample alone went in).
void expectTickOnOpenChart(CStatusBar& bar, CNetSpeedDialog* dialog, double delaySeconds, int wholeLoads, int points,
                           double yMax, double highest)
{
    const int loads = askPage(dialog, QStringLiteral("window.chartState.loads")).toInt();
    tick(bar, delaySeconds);
    const QJsonObject state = chartOnPage(dialog, points, yMax);
    QVERIFY2(state[QLatin1String("points")].toInt() == points && state[QLatin1String("yMax")].toDouble() == yMax,
             QJsonDocument(state).toJson(QJsonDocument::Compact).constData());
    QCOMPARE(state[QLatin1String("highest")].toDouble(), highest);
    QCOMPARE(state[QLatin1String("loads")].toInt(), loads + wholeLoads);
}

// A theme colour as the page's computed style writes it.
QString computedColour(const char* key)
{
    const QColor colour = CUiResource::instance()->getColor(QLatin1String(key));
    return QStringLiteral("rgb(%1, %2, %3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

// Waits until the page has drawn the chart in the current theme's colours: it received them as the
// dialog sends them, its background is the theme's, and the chart's texts use them.
void expectThemeColours(CNetSpeedDialog* dialog)
{
    const QJsonObject sent = QJsonDocument::fromJson(CNetSpeedDialog::chartThemeJson().toUtf8()).object();
    QJsonObject received;
    QJsonObject drawn;
    const bool applied = QTest::qWaitFor([&] {
        received = askPage(dialog, QStringLiteral("window.chartTheme")).toObject();
        drawn = askPage(dialog, QStringLiteral("window.chartState.colors")).toObject();
        return received == sent && drawn[QLatin1String("background")].toString() == computedColour("clr_netspeed_chart_background");
    }, kPageTimeoutMs);
    QVERIFY2(applied, qPrintable(QStringLiteral("sent %1, received %2, drawn %3")
                                     .arg(QString::fromUtf8(QJsonDocument(sent).toJson(QJsonDocument::Compact)),
                                          QString::fromUtf8(QJsonDocument(received).toJson(QJsonDocument::Compact)),
                                          QString::fromUtf8(QJsonDocument(drawn).toJson(QJsonDocument::Compact)))));
    for (const char* name : {"title", "text", "grid", "halo"})
        QCOMPARE(drawn[QLatin1String(name)].toString(), sent[QLatin1String(name)].toString());
}

// Clicks the indicator, which with the web view on runs the chart dialog modally; inside that loop, waits
// until the page draws `points` points on a y axis up to yMax with `highest` as the line's top, runs
// `more`, and closes the dialog even when a check failed.
void expectChartOnClick(CStatusBar& bar, int points, double yMax, double highest,
                        const std::function<void(CNetSpeedDialog*)>& more = {})
{
    CStatusBarPrivate::get(&bar)->netSpeedTimer->stop(); // the test ticks by itself, also while the chart is open
    bool shown = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &bar, [&] {
        CNetSpeedDialog* dialog = CStatusBarPrivate::get(&bar)->netSpeedDialog;
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        shown = true;
        const QJsonObject state = chartOnPage(dialog, points, yMax);
        [&] {
            QVERIFY2(state[QLatin1String("points")].toInt() == points && state[QLatin1String("yMax")].toDouble() == yMax,
                     QJsonDocument(state).toJson(QJsonDocument::Compact).constData());
            QCOMPARE(state[QLatin1String("highest")].toDouble(), highest);
            QCOMPARE(state[QLatin1String("labels")].toInt(), points);
            QCOMPARE(state[QLatin1String("bands")].toInt(), 4);
            if (more)
                more(dialog);
        }();
        dialog->reject();
    });
    poll.start();
    QTest::mouseClick(indicator(bar), Qt::LeftButton);
    QVERIFY2(shown, "the click showed no chart dialog");
}
} // namespace

class TestNetSpeed : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        resetHost();
        getConfig()->setUseWebView(false);
    }

    void givesEachDelayItsStep_data()
    {
        QTest::addColumn<double>("delayMs");
        QTest::addColumn<QString>("imageKey");
        QTest::newRow("no delay is the best step") << 0.0 << kFour;
        QTest::newRow("just under 20 ms is the best step") << 19.999 << kFour;
        QTest::newRow("20 ms drops to three") << 20.0 << kThree;
        QTest::newRow("just under 40 ms stays at three") << 39.99 << kThree;
        QTest::newRow("40 ms drops to two") << 40.0 << kTwo;
        QTest::newRow("just under 60 ms stays at two") << 59.9 << kTwo;
        QTest::newRow("60 ms is the worst step") << 60.0 << kOne;
        QTest::newRow("a negative delay is the worst step") << -1.0 << kOne;
        QTest::newRow("not a number is the worst step") << qQNaN() << kOne;
    }

    void givesEachDelayItsStep()
    {
        QFETCH(double, delayMs);
        QFETCH(QString, imageKey);
        CStatusBar bar(nullptr);
        // Start from another step, so that a row passes only when setNetSpeed moved the icon.
        bar.setNetSpeed(imageKey == kFour ? 100.0 : 0.0);
        bar.setNetSpeed(delayMs);
        QCOMPARE(indicator(bar)->imageKey(), imageKey);
    }

    void recordsEveryTickInTheHistories()
    {
        CStatusBar bar(nullptr);
        bool ticking = false;
        for (const QTimer* timer : bar.findChildren<QTimer*>())
            ticking |= timer->isActive() && timer->interval() == 5000;
        QVERIFY2(ticking, "the bar runs no 5 s latency timer");

        // Without an RPC client, or with it disconnected, a tick records zero and ignores the stale delay.
        struct Tick { bool hasClient; bool connected; double seconds; QString imageKey; };
        const Tick ticks[] = {{true, true, 0.012, kFour},  {true, true, 0.045, kTwo},   {false, true, 0.080, kFour},
                              {true, false, 0.080, kFour}, {true, true, 0.030, kThree}};
        for (const Tick& t : ticks) {
            getServiceClient()->rpcClient()->setConnected(true);
            connection()->setDelay(t.seconds);
            getServiceClient()->setHasClient(t.hasClient);
            getServiceClient()->rpcClient()->setConnected(t.connected);
            QVERIFY(QMetaObject::invokeMethod(&bar, "slotUpdateNetSpeed"));
            QCOMPARE(indicator(bar)->imageKey(), t.imageKey);
        }
        QCOMPARE(CStatusBarPrivate::get(&bar)->delayHistory, (QList<double>{12.0, 45.0, 0.0, 0.0, 30.0}));
        QCOMPARE(CStatusBarPrivate::get(&bar)->maxDelay, 45.0);
        QCOMPARE(CStatusBarPrivate::get(&bar)->timeLabelHistory.size(), 5);
        const QRegularExpression quotedTime(QStringLiteral("^\"\\d\\d:\\d\\d:\\d\\d\"$"));
        for (const QString& label : CStatusBarPrivate::get(&bar)->timeLabelHistory)
            QVERIFY2(quotedTime.match(label).hasMatch(), qPrintable(label));
    }

    void writesTheDebugLineOnlyWhenAskedFor_data()
    {
        QTest::addColumn<int>("enabledId");
        QTest::addColumn<bool>("loggerAtDebug");
        QTest::addColumn<bool>("written");
        QTest::newRow("id 70 on") << 70 << true << true;
        QTest::newRow("file logging off") << -1 << true << false;
        QTest::newRow("only another id on") << 71 << true << false;
        QTest::newRow("id 70 on but the logger above debug") << 70 << false << false;
    }

    void writesTheDebugLineOnlyWhenAskedFor()
    {
        QFETCH(int, enabledId);
        QFETCH(bool, loggerAtDebug);
        QFETCH(bool, written);
        const log4cxx::LoggerPtr logger = log4cxx::Logger::getLogger("ZQDbgFile");
        const log4cxx::LevelPtr oldLevel = logger->getLevel();
        LogCapture log("ZQDbgFile");
        logger->setLevel(loggerAtDebug ? log4cxx::Level::getDebug() : log4cxx::Level::getInfo());
        if (enabledId >= 0)
            CLogCenter::instance()->setFileLogEnabled(enabledId, true);

        CStatusBar bar(nullptr);
        bar.setNetSpeed(12.5);
        logger->setLevel(oldLevel);
        std::ostringstream address;
        address << static_cast<const void*>(&bar);
        const QString line = QStringLiteral("DEBUG [dbg_id=70] CStatusBar (%1) dDelay : 12.5").arg(QString::fromStdString(address.str()));
        QCOMPARE(log.lines(), written ? QStringList{line} : QStringList());
    }

    void showsTheServersOnHover_data()
    {
        QTest::addColumn<int>("clientType");
        QTest::addColumn<bool>("varnoQuote");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<double>("delaySeconds");
        QTest::addColumn<QString>("expected");
        const QString trade = QStringLiteral("交易服务器: 10.1.1.1:9501");
        const QString market = QStringLiteral("市场状态服务器: 10.2.2.2:9601");
        const QString full = trade + QLatin1Char('\n') + market + QStringLiteral("\n服务器版本: 6.2.0.1");
        const QString delay = QStringLiteral("\n网络延迟: 12.5ms");
        QTest::newRow("full terminal") << 0 << false << true << 0.0125 << full + delay;
        QTest::newRow("full terminal without connection") << 0 << false << false << 0.0125 << full;
        QTest::newRow("varno quote mode") << 0 << true << true << 0.0125 << trade + delay;
        QTest::newRow("other client type") << 1 << false << true << 0.0125 << market + delay;
        QTest::newRow("other client type ignores varno mode") << 1 << true << false << 0.0 << market;
        QTest::newRow("delay rounds to six digits") << 1 << false << true << 0.1234567 << market + QStringLiteral("\n网络延迟: 123.457ms");
    }

    void showsTheServersOnHover()
    {
        QFETCH(int, clientType);
        QFETCH(bool, varnoQuote);
        QFETCH(bool, connected);
        QFETCH(double, delaySeconds);
        QFETCH(QString, expected);
        getConfig()->setTradeServerAddress(QStringLiteral("10.1.1.1:9501"));
        getConfig()->setMarketStatusServerAddress(QStringLiteral("10.2.2.2:9601"));
        getServiceClient()->setServerVersion(QStringLiteral("6.2.0.1"));
        CAppConfig::setClientType(clientType);
        getUserConfig()->setVarnoQuoteMode(varnoQuote);
        connection()->setDelay(delaySeconds);
        getServiceClient()->rpcClient()->setConnected(connected);

        CStatusBar bar(nullptr);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(indicator(bar), &enter);
        QTRY_COMPARE(QToolTip::text(), expected);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(indicator(bar), &leave);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void keepsOneHiddenChartWithoutTheWebView()
    {
        EventRecorder mainWindow;
        auto bar = std::make_unique<CStatusBar>(nullptr);
        QTest::mouseClick(indicator(*bar), Qt::RightButton);
        QVERIFY2(!CStatusBarPrivate::get(bar.get())->netSpeedDialog, "a right click opened the chart");

        QTest::mouseClick(indicator(*bar), Qt::LeftButton);
        QPointer<CNetSpeedDialog> dialog = CStatusBarPrivate::get(bar.get())->netSpeedDialog;
        QVERIFY(dialog);
        QCOMPARE(mainWindow.count(5, 1144), 0); // the bar consumed it
        QVERIFY(!dialog->isVisible());
        QVERIFY(!dialog->webView());

        QTest::mouseClick(indicator(*bar), Qt::LeftButton);
        QCOMPARE(CStatusBarPrivate::get(bar.get())->netSpeedDialog, dialog.data());
        QVERIFY(!dialog->isVisible());

        bar.reset();
        QVERIFY2(!dialog, "the bar left its chart dialog behind");
    }

    void buildsTheChartJson_data()
    {
        QTest::addColumn<QString>("labels");
        QTest::addColumn<bool>("scaled"); // the load with a maximum, which the bar uses from 1 ms on
        QTest::addColumn<double>("maxDelayMs");
        QTest::addColumn<QList<double>>("delaysMs");
        QTest::addColumn<QString>("json");
        auto json = [](const QString& labels, const QString& yMax, const QString& values) {
            return QStringLiteral("{\"title\": \"网络延迟\",\"legend\": \"延迟线\",\"xAxis\": [") + labels
                + QStringLiteral("], \"yAxis\": {\"max\": \"") + yMax
                + QStringLiteral("\",\"min\": \"0\"}, \"series\": [{\"color\": \"#2AFF2C\", \"data\": 20}, "
                                 "{\"color\": \"#F7F936\", \"data\": 20}, {\"color\": \"#FB721E\", \"data\": 20}, "
                                 "{\"color\": \"#F50018\", \"data\": 20}, {\"color\": \"#000000\", \"data\": [")
                + values + QStringLiteral("]}]}");
        };
        const QString one = QStringLiteral("\"09:30:00\"");
        const QString two = QStringLiteral("\"09:30:00\",\"09:30:05\"");
        QTest::newRow("two ticks at 12.5 and 30 ms") << two << true << 30.0 << QList<double>{12.5, 30.0}
                                                     << json(two, QStringLiteral(" 32 "), QStringLiteral("12.5,30"));
        QTest::newRow("empty history") << QString() << false << 0.0 << QList<double>{} << json(QString(), QStringLiteral(" 4"), QString());
        QTest::newRow("below 1 ms every point is zero") << two << false << 0.5 << QList<double>{0.5, 0.2}
                                                        << json(two, QStringLiteral(" 4"), QStringLiteral("0,0"));
        QTest::newRow("exactly 1 ms scales to 4") << one << true << 1.0 << QList<double>{1.0}
                                                  << json(one, QStringLiteral(" 4 "), QStringLiteral("1"));
    }

    void buildsTheChartJson()
    {
        QFETCH(QString, labels);
        QFETCH(bool, scaled);
        QFETCH(double, maxDelayMs);
        QFETCH(QList<double>, delaysMs);
        QFETCH(QString, json);
        const QString built = scaled ? CNetSpeedDialog::chartJson(labels, maxDelayMs, delaysMs)
                                     : CNetSpeedDialog::chartJson(labels, delaysMs);
        QCOMPARE(built, json);
        QVERIFY2(QJsonDocument::fromJson(built.toUtf8()).isObject(), "the page could not parse this JSON");
    }

    void roundsTheYMaximumUpToTheNextFour_data()
    {
        QTest::addColumn<double>("maxDelayMs");
        QTest::addColumn<int>("yMax");
        QTest::newRow("13.7 ms") << 13.7 << 16;
        QTest::newRow("16 ms on a multiple still leaves room") << 16.0 << 20;
        QTest::newRow("3.9 ms") << 3.9 << 4;
        QTest::newRow("0 ms") << 0.0 << 4;
    }

    void roundsTheYMaximumUpToTheNextFour()
    {
        QFETCH(double, maxDelayMs);
        QFETCH(int, yMax);
        QCOMPARE(CNetSpeedDialog::yAxisMaximum(maxDelayMs), yMax);
    }

    // With the real page: the bar hands its histories to the page each time the chart opens.
    void drawsTheHistoryOnTheChartPage()
    {
        getConfig()->setUseWebView(true);
        CStatusBar bar(nullptr);
        tick(bar, 0.0005);
        tick(bar, 0.0002);
        expectChartOnClick(bar, 2, 4.0, 0.0, [&bar](CNetSpeedDialog* dialog) { // below 1 ms the line lies flat
            QCOMPARE(dialog->windowTitle(), QStringLiteral("网络延迟"));
            QCOMPARE(dialog->minimumSize(), QSize(670, 400));
            QCOMPARE(dialog->maximumSize(), QSize(670, 400));
            QCOMPARE(dialog->innerWidget(), static_cast<QWidget*>(dialog->webView()));
            QVERIFY(!dialog->testAttribute(Qt::WA_DeleteOnClose)); // the bar keeps it for the next click
            expectTickOnOpenChart(bar, dialog, 0.0003, 0, 3, 4.0, 0.0); // still flat: only the sample goes in
            expectTickOnOpenChart(bar, dialog, 0.001, 1, 4, 4.0, 1.0); // exactly 1 ms: the points so far get their values
        });
        if (QTest::currentTestFailed())
            return;
        CNetSpeedDialog* first = CStatusBarPrivate::get(&bar)->netSpeedDialog;
        tick(bar, 0.030);
        tick(bar, 0.0125);
        expectChartOnClick(bar, 6, 32.0, 30.0, [&bar](CNetSpeedDialog* dialog) {
            // The compositor may lag the page by a frame or two: wait until the picture shows the chart.
            std::array<double, 3> shares{};
            const bool drawn = QTest::qWaitFor([&] {
                shares = coloursOf(dialog->grab().toImage());
                return shares[0] > 0.2 && shares[1] > 0.05 && shares[2] > 0.002;
            }, kPageTimeoutMs);
            QVERIFY2(drawn, qPrintable(QStringLiteral("green %1, yellow %2, black %3").arg(shares[0]).arg(shares[1]).arg(shares[2])));
            expectTickOnOpenChart(bar, dialog, 0.040, 0, 7, 44.0, 40.0);
        });
        QCOMPARE(CStatusBarPrivate::get(&bar)->netSpeedDialog, first);
    }

    // The page is drawn in the theme's colours, and follows a theme switch while the dialog is open.
    void drawsTheChartInTheThemesColours()
    {
        getConfig()->setUseWebView(true);
        CStatusBar bar(nullptr);
        tick(bar, 0.012);
        tick(bar, 0.030);
        expectChartOnClick(bar, 2, 32.0, 30.0, [](CNetSpeedDialog* dialog) {
            expectThemeColours(dialog);
            if (QTest::currentTestFailed())
                return;
            const QJsonObject darkChart = QJsonDocument::fromJson(CNetSpeedDialog::chartThemeJson().toUtf8()).object();
            QVERIFY(CUiResource::instance()->setTheme(QStringLiteral("light")));
            QVERIFY(QJsonDocument::fromJson(CNetSpeedDialog::chartThemeJson().toUtf8()).object() != darkChart);
            expectThemeColours(dialog);
            if (QTest::currentTestFailed())
                return;
            // The picture follows: the page's margin shows the light background, not the dark one.
            const QColor light = CUiResource::instance()->getColor(QStringLiteral("clr_netspeed_chart_background"));
            QColor corner;
            const bool repainted = QTest::qWaitFor([&] {
                corner = dialog->webView()->grab().toImage().pixelColor(2, 2);
                return corner == light;
            }, kPageTimeoutMs);
            QVERIFY2(repainted, qPrintable(corner.name()));
            // The data went in unchanged: the chart still shows both points.
            QCOMPARE(askPage(dialog, QStringLiteral("window.chartState.points")).toInt(), 2);
            // The page's text grows with the UI scale: its CSS pixel is then 1.5 of the screen's.
            CUiResource::instance()->setUIScale(1.5);
            double ratio = 0.0;
            QVERIFY2(QTest::qWaitFor([&] { return (ratio = askPage(dialog, QStringLiteral("window.devicePixelRatio")).toDouble()) == 1.5; },
                                     kPageTimeoutMs), qPrintable(QString::number(ratio)));
        });
    }

    // A chart page that is missing, empty or without its chart library is named in the dialog and,
    // once, in the log.
    void namesABrokenChartPage_data()
    {
        QTest::addColumn<QString>("page"); // "none", "empty" or "installed"
        QTest::addColumn<bool>("library");
        QTest::addColumn<QString>("atFault");
        QTest::addColumn<QString>("problem");
        QTest::newRow("no page") << "none" << true << "index.html" << "无法打开";
        QTest::newRow("empty page") << "empty" << true << "index.html" << "缺失或损坏";
        QTest::newRow("no chart library") << "installed" << false << "chart.min.js" << "缺失或损坏";
    }

    void namesABrokenChartPage()
    {
        QFETCH(QString, page);
        QFETCH(bool, library);
        QFETCH(QString, atFault);
        QFETCH(QString, problem);
        const QDir installed = QFileInfo(CNetSpeedDialog::pageFile()).dir();
        QTemporaryDir root;
        const QString pages = root.filePath(QStringLiteral("webwidget/netspeed"));
        QVERIFY(QDir().mkpath(pages) && QDir().mkpath(root.filePath(QStringLiteral("config"))));
        if (page != QLatin1String("none"))
            QVERIFY(page == QLatin1String("empty") ? QFile(pages + QStringLiteral("/index.html")).open(QIODevice::WriteOnly)
                                                   : QFile::copy(installed.filePath(QStringLiteral("index.html")), pages + QStringLiteral("/index.html")));
        if (library)
            QVERIFY(QFile::copy(installed.filePath(QStringLiteral("chart.min.js")), pages + QStringLiteral("/chart.min.js")));
        setConfigDir(root.filePath(QStringLiteral("config")));
        const auto restore = qScopeGuard([] { setConfigDir(QString()); });
        getConfig()->setUseWebView(true);
        LogCapture log("LatencyChart");

        CNetSpeedDialog dialog(nullptr);
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QLabel*>(dialog.innerWidget()), kPageTimeoutMs);
        const QString file = QDir::toNativeSeparators(pages + QLatin1Char('/') + atFault);
        QVERIFY2(dialog.pageProblem().contains(file) && dialog.pageProblem().contains(problem), qPrintable(dialog.pageProblem()));
        QVERIFY(dialog.innerWidget()->isVisible() && !dialog.webView());
        QCOMPARE(log.lines().size(), 1);
        QVERIFY2(log.lines().first().startsWith(QLatin1String("WARN")) && log.lines().first().contains(file), qPrintable(log.lines().first()));
    }
};

STATUSBAR_TEST_MAIN(TestNetSpeed)
#include "tst_netspeed.moc"
