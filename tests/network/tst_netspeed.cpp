#include <testmain.h>

#include <eventrecorder.h>

#include <netspeeddialog.h>
#include <statusbar.h>
#include <statusnetspeed.h>

#include <appconfig.h>
#include <cefviewmanager.h>
#include <config.h>
#include <hostreset.h>
#include <logcenter.h>
#include <serviceclient.h>
#include <userconfig.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <QWebEnginePage>

#include <log4cxx/appenderskeleton.h>
#include <log4cxx/logger.h>
#include <log4cxx/spi/loggingevent.h>

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

// Keeps every line the debug logger writes while it is attached.
class CapturingAppender : public log4cxx::AppenderSkeleton
{
public:
    QStringList lines;
    QList<log4cxx::LevelPtr> levels;

    void close() override {}
    bool requiresLayout() const override { return false; }

protected:
    void append(const log4cxx::spi::LoggingEventPtr& event, log4cxx::helpers::Pool&) override
    {
        lines << QString::fromStdString(event->getMessage());
        levels << event->getLevel();
    }
};

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
    QMetaObject::invokeMethod(&bar, "slotUpdateNetSpeed");
}

// The page's own account of what it drew, or an empty object when the page did not answer.
QJsonObject chartState(CCefWebView* view)
{
    auto answer = std::make_shared<QString>();
    auto done = std::make_shared<bool>(false);
    view->page()->runJavaScript(QStringLiteral("JSON.stringify(window.chartState || null)"),
                                [answer, done](const QVariant& value) {
                                    *answer = value.toString();
                                    *done = true;
                                });
    if (!QTest::qWaitFor([done] { return *done; }, kScriptTimeoutMs))
        return {};
    return QJsonDocument::fromJson(answer->toUtf8()).object();
}

QString describe(const QJsonObject& state)
{
    return QString::fromUtf8(QJsonDocument(state).toJson(QJsonDocument::Compact));
}

// Asks the page until its chart has this many points on a y axis up to yMax, for at most the page
// timeout in real time (a QTRY loop counts only its own pauses, not the time the page takes to answer).
bool waitForChart(CCefWebView* view, int points, double yMax, QJsonObject* state)
{
    return QTest::qWaitFor(
        [&] {
            *state = chartState(view);
            return (*state)[QLatin1String("points")].toInt() == points && (*state)[QLatin1String("yMax")].toDouble() == yMax;
        },
        kPageTimeoutMs);
}

// Shares of the picture in a band colour and in the black of the delay line.
struct ChartColours {
    double greenShare = 0;
    double yellowShare = 0;
    double blackShare = 0;
};

ChartColours coloursOf(const QImage& image)
{
    ChartColours colours;
    const double area = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.green() > c.red() + 60 && c.green() > c.blue() + 60)
                colours.greenShare += 1 / area;
            else if (c.red() > c.blue() + 60 && c.green() > c.blue() + 60)
                colours.yellowShare += 1 / area;
            else if (c.red() < 20 && c.green() < 20 && c.blue() < 20)
                colours.blackShare += 1 / area;
        }
    }
    return colours;
}

// A click on the indicator opens the chart. With the web view on, the bar runs the dialog modally, so
// inspect runs inside that modal loop once the dialog shows, and the dialog is closed afterwards even
// when a check inside inspect failed.
void clickIndicatorAndInspect(CStatusBar& bar, const std::function<void(CNetSpeedDialog*)>& inspect)
{
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &bar, [&bar, &poll, inspect] {
        CNetSpeedDialog* dialog = bar.netSpeedDialog();
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        inspect(dialog);
        dialog->reject();
    });
    poll.start();
    QTest::mouseClick(indicator(bar), Qt::LeftButton);
}

const QString kWorkedLabels = QStringLiteral("\"09:30:00\",\"09:30:05\"");
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
        QCOMPARE(indicator(bar)->imageKey(), kFour);
        bool ticking = false;
        for (const QTimer* timer : bar.findChildren<QTimer*>())
            ticking |= timer->isActive() && timer->interval() == 5000;
        QVERIFY2(ticking, "the bar runs no 5 s latency timer");

        tick(bar, 0.012);
        tick(bar, 0.0);
        tick(bar, 0.030);

        QCOMPARE(bar.delayHistory().size(), 3);
        QCOMPARE(bar.delayHistory().at(0), 12.0);
        QCOMPARE(bar.delayHistory().at(1), 0.0);
        QCOMPARE(bar.delayHistory().at(2), 30.0);
        QCOMPARE(bar.maxDelay(), 30.0);
        QCOMPARE(indicator(bar)->imageKey(), kThree);
        QCOMPARE(bar.timeLabelHistory().size(), 3);
        const QRegularExpression quotedTime(QStringLiteral("^\"\\d\\d:\\d\\d:\\d\\d\"$"));
        for (const QString& label : bar.timeLabelHistory())
            QVERIFY2(quotedTime.match(label).hasMatch(), qPrintable(label));
    }

    void recordsZeroWithoutAConnection_data()
    {
        QTest::addColumn<bool>("hasClient");
        QTest::addColumn<bool>("connected");
        QTest::newRow("no RPC client yet") << false << true;
        QTest::newRow("RPC client disconnected") << true << false;
    }

    void recordsZeroWithoutAConnection()
    {
        QFETCH(bool, hasClient);
        QFETCH(bool, connected);
        CStatusBar bar(nullptr);
        bar.setNetSpeed(100.0);
        connection()->setDelay(0.080); // a stale delay that must not be read
        getServiceClient()->setHasClient(hasClient);
        getServiceClient()->rpcClient()->setConnected(connected);
        QMetaObject::invokeMethod(&bar, "slotUpdateNetSpeed");
        QCOMPARE(bar.delayHistory(), QList<double>{0.0});
        QCOMPARE(bar.timeLabelHistory().size(), 1);
        QCOMPARE(bar.maxDelay(), 0.0);
        QCOMPARE(indicator(bar)->imageKey(), kFour);
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
        const bool oldAdditivity = logger->getAdditivity();
        auto appender = std::make_shared<CapturingAppender>();
        logger->addAppender(appender);
        logger->setAdditivity(false);
        logger->setLevel(loggerAtDebug ? log4cxx::Level::getDebug() : log4cxx::Level::getInfo());
        if (enabledId >= 0)
            CLogCenter::instance()->setFileLogEnabled(enabledId, true);

        CStatusBar bar(nullptr);
        bar.setNetSpeed(12.5);

        logger->removeAppender(appender);
        logger->setLevel(oldLevel);
        logger->setAdditivity(oldAdditivity);
        if (!written) {
            QCOMPARE(appender->lines, QStringList());
            return;
        }
        std::ostringstream address;
        address << static_cast<const void*>(&bar);
        const QString expected = QStringLiteral("[dbg_id=70] CStatusBar (%1) dDelay : 12.5").arg(QString::fromStdString(address.str()));
        QVERIFY2(expected.contains(QRegularExpression(QStringLiteral("\\(0x[0-9a-f]+\\)"))), qPrintable(expected));
        QCOMPARE(appender->lines, QStringList{expected});
        QCOMPARE(appender->levels.first()->toInt(), log4cxx::Level::DEBUG_INT);
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
        const QString version = QStringLiteral("服务器版本: 6.2.0.1");
        const QString full = trade + QLatin1Char('\n') + market + QLatin1Char('\n') + version;
        QTest::newRow("full terminal") << 0 << false << true << 0.0125 << full + QStringLiteral("\n网络延迟: 12.5ms");
        QTest::newRow("full terminal without connection") << 0 << false << false << 0.0125 << full;
        QTest::newRow("varno quote mode") << 0 << true << true << 0.0125 << trade + QStringLiteral("\n网络延迟: 12.5ms");
        QTest::newRow("other client type") << 1 << false << true << 0.0125 << market + QStringLiteral("\n网络延迟: 12.5ms");
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
        QVERIFY2(!bar->netSpeedDialog(), "a right click opened the chart");

        QTest::mouseClick(indicator(*bar), Qt::LeftButton);
        QPointer<CNetSpeedDialog> dialog = bar->netSpeedDialog();
        QVERIFY(dialog);
        QCOMPARE(mainWindow.count(5, 1144), 0); // the bar consumed it
        QVERIFY(!dialog->isVisible());
        QVERIFY(!dialog->webView());
        QVERIFY(!dialog->innerWidget());
        QCOMPARE(dialog->title(), QStringLiteral("网络延迟"));

        QTest::mouseClick(indicator(*bar), Qt::LeftButton);
        QCOMPARE(bar->netSpeedDialog(), dialog.data());
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
        const QString head = QStringLiteral("{\"title\": \"网络延迟\",\"legend\": \"延迟线\",\"xAxis\": [");
        const QString series = QStringLiteral("\"series\": [{\"color\": \"#2AFF2C\", \"data\": 20}, {\"color\": \"#F7F936\", \"data\": 20}, "
                                              "{\"color\": \"#FB721E\", \"data\": 20}, {\"color\": \"#F50018\", \"data\": 20}, "
                                              "{\"color\": \"#000000\", \"data\": [");
        auto json = [&](const QString& labels, const QString& yMax, const QString& values) {
            return head + labels + QStringLiteral("], \"yAxis\": {\"max\": \"") + yMax + QStringLiteral("\",\"min\": \"0\"}, ") + series
                + values + QStringLiteral("]}]}");
        };
        const QString one = QStringLiteral("\"09:30:00\"");
        QTest::newRow("two ticks at 12.5 and 30 ms") << kWorkedLabels << true << 30.0 << QList<double>{12.5, 30.0}
                                                     << json(kWorkedLabels, QStringLiteral(" 32 "), QStringLiteral("12.5,30"));
        QTest::newRow("empty history") << QString() << false << 0.0 << QList<double>{}
                                       << json(QString(), QStringLiteral(" 4"), QString());
        QTest::newRow("below 1 ms every point is zero") << kWorkedLabels << false << 0.5 << QList<double>{0.5, 0.2}
                                                        << json(kWorkedLabels, QStringLiteral(" 4"), QStringLiteral("0,0"));
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
        QTest::newRow("1 ms") << 1.0 << 4;
        QTest::newRow("0 ms") << 0.0 << 4;
        QTest::newRow("30 ms") << 30.0 << 32;
    }

    void roundsTheYMaximumUpToTheNextFour()
    {
        QFETCH(double, maxDelayMs);
        QFETCH(int, yMax);
        QCOMPARE(CNetSpeedDialog::yAxisMaximum(maxDelayMs), yMax);
    }

    void drawsTheChartPageInAFixedDialog()
    {
        getConfig()->setUseWebView(true);
        const QString address = CNetSpeedDialog::pageAddress();
        QVERIFY2(address.startsWith(QLatin1String("file:///")), qPrintable(address));
        QVERIFY2(address.endsWith(QLatin1String("webwidget/netspeed/index.html")), qPrintable(address));
        QVERIFY2(QFileInfo::exists(QUrl(address).toLocalFile()), qPrintable(address));

        CNetSpeedDialog dialog(nullptr);
        QSignalSpy loaded(&dialog, &CNetSpeedDialog::sigLoadFinished);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("网络延迟"));
        QCOMPARE(dialog.minimumSize(), QSize(670, 400));
        QCOMPARE(dialog.maximumSize(), QSize(670, 400));
        QVERIFY(!dialog.testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(dialog.webView());
        QCOMPARE(dialog.innerWidget(), static_cast<QWidget*>(dialog.webView()));
        dialog.show();
        QVERIFY(loaded.wait(kPageTimeoutMs));

        dialog.loadChart(kWorkedLabels, 30.0, {12.5, 30.0});
        QJsonObject state;
        QVERIFY2(waitForChart(dialog.webView(), 2, 32.0, &state), qPrintable(describe(state)));
        QCOMPARE(state[QLatin1String("labels")].toInt(), 2);
        QCOMPARE(state[QLatin1String("yMin")].toDouble(), 0.0);
        QCOMPARE(state[QLatin1String("bands")].toInt(), 4);

        // The compositor may lag the page by a frame or two: wait until the picture shows the chart.
        QImage picture;
        ChartColours colours;
        const bool drawn = QTest::qWaitFor(
            [&] {
                colours = coloursOf(picture = dialog.grab().toImage());
                return colours.greenShare > 0.2 && colours.yellowShare > 0.05 && colours.blackShare > 0.002;
            },
            kPageTimeoutMs);
        QVERIFY2(drawn, qPrintable(QStringLiteral("green %1, yellow %2, black %3")
                                       .arg(colours.greenShare).arg(colours.yellowShare).arg(colours.blackShare)));
        picture.save(QDir::currentPath() + QStringLiteral("/netspeed-chart.png"));
    }

    void opensTheChartFromTheIndicator_data()
    {
        QTest::addColumn<QList<double>>("delaysSeconds");
        QTest::addColumn<double>("yMax");
        QTest::addColumn<double>("highest");
        QTest::newRow("below 1 ms draws a flat line") << QList<double>{0.0005, 0.0002} << 4.0 << 0.0;
        QTest::newRow("exactly 1 ms is drawn to scale") << QList<double>{0.001} << 4.0 << 1.0;
    }

    void opensTheChartFromTheIndicator()
    {
        QFETCH(QList<double>, delaysSeconds);
        QFETCH(double, yMax);
        QFETCH(double, highest);
        getConfig()->setUseWebView(true);
        CStatusBar bar(nullptr);
        for (double delay : delaysSeconds)
            tick(bar, delay);

        bool inspected = false;
        clickIndicatorAndInspect(bar, [&](CNetSpeedDialog* dialog) {
            inspected = true;
            QJsonObject state;
            QVERIFY2(waitForChart(dialog->webView(), delaysSeconds.size(), yMax, &state), qPrintable(describe(state)));
            QCOMPARE(state[QLatin1String("highest")].toDouble(), highest);
        });
        QVERIFY2(inspected, "the click showed no chart dialog");
    }

    void reopeningTheChartShowsTheNewTicks()
    {
        getConfig()->setUseWebView(true);
        CStatusBar bar(nullptr);
        tick(bar, 0.0125);
        auto expectChart = [&bar](int points, double yMax, double highest) {
            bool inspected = false;
            clickIndicatorAndInspect(bar, [&](CNetSpeedDialog* dialog) {
                inspected = true;
                QJsonObject state;
                QVERIFY2(waitForChart(dialog->webView(), points, yMax, &state), qPrintable(describe(state)));
                QCOMPARE(state[QLatin1String("highest")].toDouble(), highest);
            });
            QVERIFY2(inspected, "the click showed no chart dialog");
        };
        expectChart(1, 16.0, 12.5);
        if (QTest::currentTestFailed())
            return;
        CNetSpeedDialog* first = bar.netSpeedDialog();
        tick(bar, 0.030);
        expectChart(2, 32.0, 30.0);
        QCOMPARE(bar.netSpeedDialog(), first);
    }
};

STATUSBAR_TEST_MAIN(TestNetSpeed)
#include "tst_netspeed.moc"
