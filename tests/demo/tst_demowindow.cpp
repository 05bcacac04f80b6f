#include <testmain.h>

#include <finditem.h>

#include "controlpanel.h"
#include "demooptions.h"
#include "mainwindow.h"

#include <statusbar/bottomrollingquoterwidget.h>
#include <statusbar/currenttimewidget.h>
#include <statusbar/noticewidget.h>
#include <statusbar/runningcstrategywidget.h>
#include <statusbar/quotewidget.h>
#include <statusbar/runningorderswidget.h>
#include <statusbar/runningtaskswidget.h>
#include <statusbar/statusbar.h>
#include <statusbar/tradewidget.h>

#include <terminalsim/backendsimulator.h>
#include <terminalsim/marketinfosimulator.h>
#include <terminalhost/datacenter.h>
#include <terminalhost/formulamanager.h>
#include <terminalhost/hostreset.h>
#include <terminalhost/indexbottomquoterwidget.h>
#include <terminalhost/magnifierwidget.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/strategytrademanager.h>
#include <terminalhost/timeservice.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/tradedata.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QDateTime>
#include <QDoubleSpinBox>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>

#include <algorithm>

namespace {
constexpr std::uint32_t kSeed = 1;
constexpr int kWindowHeight = 720;

// The bar's visible items from left to right, each with its class and place, as a person sees the row.
QStringList barRow(const CStatusBar* bar)
{
    QList<QWidget*> row = bar->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    row.erase(std::remove_if(row.begin(), row.end(), [](QWidget* w) { return w->isHidden() || w->isWindow(); }), row.end());
    std::stable_sort(row.begin(), row.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    QStringList names;
    for (QWidget* widget : row) {
        names << QStringLiteral("%1 x=%2 w=%3 h=%4")
                     .arg(QLatin1String(widget->metaObject()->className()))
                     .arg(widget->x())
                     .arg(widget->width())
                     .arg(widget->height());
    }
    return names;
}

QSpinBox* scaleBox(const CMainWindow& window)
{
    return window.controlPanel()->findChild<QSpinBox*>(QStringLiteral("ui_scale"));
}

QDoubleSpinBox* speedBox(const CMainWindow& window)
{
    return window.controlPanel()->findChild<QDoubleSpinBox*>(QStringLiteral("sim_speed"));
}

// The bar has taken the window's width and fitted its items to it.
bool barSettled(const CMainWindow& window)
{
    const CStatusBar* bar = window.terminalStatusBar();
    return bar && bar->isVisible() && bar->width() == window.centralWidget()->width();
}

void showAt(CMainWindow* window, int width)
{
    window->resize(width, kWindowHeight);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY(barSettled(*window));
}

// Presses the bar's zoom knob, drags it to percent and lets go.
void dragZoomKnob(CMagnifierWidget* magnifier, int percent)
{
    // The knob takes one 10 % step for every 10 px the pointer travels, at the UI's scale.
    const QPoint from = magnifier->knobCentre(magnifier->fontScale());
    const QPoint to = from + QPoint((percent - magnifier->fontScale()) / 10 * CUiResource::instance()->scaledPx(10), 0);
    QTest::mousePress(magnifier, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, magnifier->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(magnifier, &move);
    QTest::mouseRelease(magnifier, Qt::LeftButton, {}, to);
}

QColor colour(const char* key)
{
    return CUiResource::instance()->getColor(QLatin1String(key));
}

// An item's rectangle in the window's coordinates.
QRect rectIn(const QWidget* window, const QWidget* item)
{
    return QRect(item->mapTo(window, QPoint(0, 0)), item->size());
}

// Whether any pixel of area differs from background: the item drew something there.
bool hasInk(const QImage& shot, const QRect& area, const QColor& background)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (shot.pixelColor(x, y) != background)
                return true;
        }
    }
    return false;
}

// What the host holds once a trading morning has begun: the simulated market's stock list, index
// quotes and announcements, and a logged-in account with two running orders, a running task and a
// running strategy.
void beginTheMorning(CBackendSimulator* simulator)
{
    simulator->marketInfo()->start();
    simulator->marketInfo()->stop();
    const auto account = std::make_shared<CAccountInfo>("10001", "88020011");
    CDataCenter* data = TraderCenter::instance()->getDataCenter();
    data->addAccount(account->getKey());
    for (const char* id : {"1", "2"})
        data->publish("10001", TradeData_OrderDetail, std::make_shared<COrderDetail>(id, "10001", "600901", OrderStatus_Queued));
    data->publish("10001", TradeData_TaskDetail, std::make_shared<CTaskDetail>("T1", "10001", "TWAP-600901", CTaskDetail::kStatusRunning));
    CTradeClient::instance()->reportLoginStatus(account, BROKER_LOGIN_SUCCESS, "");
    getUserConfig()->setAccountList({account});
    CStrategyTradeManager::instance()->startProcess("S1", "网格策略-IF2606");
    data->waitForDeliveries();
    CFormulaManager::instance()->waitForFeed();
}

// The three running counters' numbers, as shown.
QStringList counters(const CStatusBar* bar)
{
    return {findItem<CRunningOrdersWidget>(bar)->counter()->getText(), findItem<CRunningTasksWidget>(bar)->counter()->getText(),
            findItem<CRunningCStrategyWidget>(bar)->counter()->getText()};
}

// The index the ticker shows, with its last price.
QString shownIndex(const CStatusBar* bar)
{
    const auto* ticker = findItem<CBottomRollingQuoterWidget>(bar);
    for (int i = 0; i < CBottomRollingQuoterWidget::kDisplayCount; ++i) {
        if (!ticker->display(i)->isHidden())
            return ticker->display(i)->nameText() + QLatin1Char(' ') + ticker->display(i)->priceText();
    }
    return QString();
}

// One notch of the wheel, downwards, as the window system delivers it over widget.
void turnWheelOver(QWidget* widget)
{
    const QPoint centre = widget->rect().center();
    QWheelEvent wheel(centre, widget->mapToGlobal(centre), QPoint(), QPoint(0, -QWheelEvent::DefaultDeltasPerStep), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(widget, &wheel); // as QTest delivers its mouse events: sendEvent() would make it synthetic
}

QString describe(const QRect& r)
{
    return QStringLiteral("(%1, %2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}
}

class TestDemoWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        resetHost();
    }

    void zoomFromTheBarGivesTheBarThePanelGives()
    {
        CMainWindow window(kSeed, false, 1.0);
        showAt(&window, 1600);
        scaleBox(window)->setValue(150);
        QTRY_VERIFY(barSettled(window));
        const QStringList fromPanel = barRow(window.terminalStatusBar());
        scaleBox(window)->setValue(100);
        QTRY_VERIFY(barSettled(window));
        QVERIFY(barRow(window.terminalStatusBar()) != fromPanel);

        for (int percent = 110; percent <= 150; percent += CMagnifierWidget::kStepPercent) {
            const QPointer<CStatusBar> before = window.terminalStatusBar();
            auto* magnifier = findItem<CMagnifierWidget>(before.data());
            QTest::mouseClick(magnifier, Qt::LeftButton, {}, magnifier->plusRect().center());
            QTRY_VERIFY2(!before, qPrintable(QStringLiteral("the bar was not rebuilt for %1 %").arg(percent)));
        }

        QCOMPARE(CUiResource::instance()->getUIScale(), 1.5);
        QCOMPARE(findItem<CMagnifierWidget>(window.terminalStatusBar())->fontScale(), 150);
        QCOMPARE(scaleBox(window)->value(), 150);
        QTRY_VERIFY(barSettled(window));
        QTRY_COMPARE(barRow(window.terminalStatusBar()), fromPanel);
    }

    void draggingTheBarsZoomKnobRebuildsTheBarOnce()
    {
        CMainWindow window(kSeed, false, 1.0);
        showAt(&window, 1600);
        scaleBox(window)->setValue(150);
        QTRY_VERIFY(barSettled(window));
        const QStringList fromPanel = barRow(window.terminalStatusBar());
        scaleBox(window)->setValue(100);
        QTRY_VERIFY(barSettled(window));

        const QPointer<CStatusBar> before = window.terminalStatusBar();
        dragZoomKnob(findItem<CMagnifierWidget>(before.data()), 150);
        QTRY_VERIFY(!before);
        QCOMPARE(CUiResource::instance()->getUIScale(), 1.5);
        const QPointer<CStatusBar> rebuilt = window.terminalStatusBar();
        QTRY_VERIFY(barSettled(window));
        QTRY_COMPARE(barRow(window.terminalStatusBar()), fromPanel);
        QCOMPARE(window.terminalStatusBar(), rebuilt.data()); // one rebuild for one drag
    }

    void aBarRebuiltForAZoomShowsAtOnceWhatTheOldOneShowed()
    {
        CMainWindow window(kSeed, false, 1.0);
        showAt(&window, 1600);
        beginTheMorning(window.simulator());
        const QPointer<CStatusBar> old = window.terminalStatusBar();
        auto* oldIndices = findItem<CBottomRollingQuoterWidget>(old.data());
        while (CBottomRollingQuoterWidget::shownPosition() != 2)
            QVERIFY(QMetaObject::invokeMethod(oldIndices, "slotTimeOut"));
        findItem<CRunningOrdersWidget>(old.data())->slotTimeout();
        findItem<CRunningTasksWidget>(old.data())->slotTimeout();
        const QStringList shownCounts = counters(old);
        QCOMPARE(shownCounts, (QStringList{QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("1")}));
        QTRY_VERIFY(!shownIndex(old).endsWith(QLatin1String("--"))); // its quote has come
        const QString index = shownIndex(old);

        scaleBox(window)->setValue(110); // nothing is published from here on
        const CStatusBar* bar = window.terminalStatusBar();
        QVERIFY(!old);
        // No turn of either ticker may fill the new bar: only what the host holds and delivers.
        findItem<CNoticeWidget>(bar)->rotationTimer()->stop();
        findItem<CBottomRollingQuoterWidget>(bar)->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly)->stop();
        QCOMPARE(counters(bar), shownCounts);
        QTRY_COMPARE(shownIndex(bar), index);
        QTRY_VERIFY2(!findItem<CNoticeWidget>(bar)->currentTitle().isEmpty(), "the rebuilt ticker shows no announcement");
    }

    void thePanelOffersTheCommandLinesSpeeds_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("slowest") << QStringLiteral("0.1") << 0.1 << QStringLiteral("0.1 ×");
        QTest::newRow("real time") << QStringLiteral("1") << 1.0 << QStringLiteral("1.0 ×");
        QTest::newRow("fastest") << QStringLiteral("20") << 20.0 << QStringLiteral("20.0 ×");
    }

    void thePanelOffersTheCommandLinesSpeeds()
    {
        QFETCH(QString, argument);
        QFETCH(double, speed);
        QFETCH(QString, shown);
        CDemoOptions options;
        QCOMPARE(options.parse({QStringLiteral("statusbar-demo"), QStringLiteral("--sim-speed"), argument}), CDemoOptions::Result::Run);
        CMainWindow window(kSeed, false, options.simSpeed);
        QCOMPARE(window.simulator()->speedFactor(), speed);
        QCOMPARE(speedBox(window)->value(), speed);
        QCOMPARE(speedBox(window)->text(), shown);
    }

    void thePanelSetsEverySpeedTheCommandLineTakes()
    {
        CMainWindow window(kSeed, false, 1.0);
        for (double speed : {CDemoOptions::kMaxSimSpeed, CDemoOptions::kMinSimSpeed}) {
            speedBox(window)->setValue(speed);
            QCOMPARE(window.simulator()->speedFactor(), speed);
        }
    }

    void aWheelTurnedOverThePanelScrollsItAndSparesTheBoxesNotInUse_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QByteArray>("property");
        QTest::newRow("spin box") << QStringLiteral("flood_rate") << QByteArray("value");
        QTest::newRow("choice") << QStringLiteral("message_type") << QByteArray("currentIndex");
    }
    void aWheelTurnedOverThePanelScrollsItAndSparesTheBoxesNotInUse()
    {
        QFETCH(QString, box);
        QFETCH(QByteArray, property);
        CMainWindow window(kSeed, false, 1.0);
        showAt(&window, 1600);
        QApplication::setActiveWindow(&window);
        auto* widget = window.controlPanel()->findChild<QWidget*>(box);
        QScrollBar* panelScroll = qobject_cast<QScrollArea*>(window.controlPanel()->parentWidget()->parentWidget())->verticalScrollBar();
        const QVariant before = widget->property(property);

        turnWheelOver(widget);
        QCOMPARE(widget->property(property), before);
        QVERIFY2(panelScroll->value() > 0, "the panel did not scroll");
        widget->setFocus();
        turnWheelOver(widget);
        QVERIFY(widget->property(property) != before);
    }

    void theWindowShowsTheRightHandEndAndTheCountersWhole_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("percent");
        for (const char* theme : {"dark", "light"}) {
            for (int width : {1600, 1000}) {
                QTest::addRow("%s %d", theme, width) << QString::fromLatin1(theme) << width << 100;
            }
        }
        QTest::newRow("dark 1800 at 150 %") << QStringLiteral("dark") << 1800 << 150;
        QTest::newRow("light 1280 at 150 %") << QStringLiteral("light") << 1280 << 150;
    }

    void theWindowShowsTheRightHandEndAndTheCountersWhole()
    {
        QFETCH(QString, theme);
        QFETCH(int, width);
        QFETCH(int, percent);
        QVERIFY(CUiResource::instance()->setTheme(theme));
        CUiResource::instance()->setUIScale(percent / 100.0);
        // The demo's user, with the order service's switch at the right-hand end.
        getUserConfig()->setHasOrderService(true);
        getUserConfig()->setHasFileOrderService(true);
        getUserConfig()->setHasDbfOrderService(true);
        CMainWindow window(kSeed, false, 1.0);
        // The clock draws nothing until the time service first reports the time.
        getTimeService()->publishTime(QDateTime(QDate(2026, 12, 6), QTime(10, 30, 0)).toSecsSinceEpoch());
        showAt(&window, width);
        const CStatusBar* bar = window.terminalStatusBar();
        const QImage shot = window.grab().toImage();
        const QColor barBackground = colour("clr_main_statusbar_background");
        const int middle = rectIn(&window, bar).center().y();

        // The clock ends inside the window and draws its time in its right half, which a clock cut
        // off by the window's edge loses; the time ends short of the clock's own edge, so its last
        // columns and what follows up to the bar's end show the bar's background.
        const QRect clock = rectIn(&window, findItem<CCurrentTimeWidget>(bar));
        QVERIFY2(shot.rect().contains(clock), qPrintable(QStringLiteral("clock at %1 in a %2 px window").arg(describe(clock)).arg(width)));
        const QRect clockRight(clock.center().x(), clock.top() + 2, clock.width() / 2 - 1, clock.height() - 4);
        QVERIFY2(hasInk(shot, clockRight, barBackground), "the clock's time is not drawn");
        for (int x = clock.right() - 1; x < rectIn(&window, bar).right(); ++x) {
            for (int y = clock.top() + 1; y < clock.bottom(); ++y)
                QCOMPARE(shot.pixelColor(x, y), barBackground);
        }

        // The two tags stand apart, each filled to its own edges, with the bar between them; their
        // edge columns carry no text (a text wider than its tag runs into them).
        const QRect trade = rectIn(&window, findItem<CTradeWidget>(bar));
        const QRect quote = rectIn(&window, findItem<CQuoteWidget>(bar));
        QVERIFY2(trade.right() < quote.left(), qPrintable(describe(trade) + QLatin1Char(' ') + describe(quote)));
        QCOMPARE(shot.pixelColor(trade.right() + 1, middle), barBackground);
        QCOMPARE(shot.pixelColor(quote.left() - 1, middle), barBackground);
        const QColor tagBackground = colour("ic_clr_quotetrade_fail_bg"); // nothing is logged in without the back end
        for (const QRect& tag : {trade, quote}) {
            QVERIFY(shot.rect().contains(tag));
            for (int y = tag.top() + 1; y < tag.bottom(); ++y) {
                QCOMPARE(shot.pixelColor(tag.left() + 1, y), tagBackground);
                QCOMPARE(shot.pixelColor(tag.right() - 1, y), tagBackground);
            }
        }

        // The counters at the left-hand end are inside the window and drawn.
        for (const QWidget* counter : {static_cast<const QWidget*>(findItem<CRunningOrdersWidget>(bar)),
                                       static_cast<const QWidget*>(findItem<CRunningTasksWidget>(bar))}) {
            const QRect area = rectIn(&window, counter);
            QVERIFY2(shot.rect().contains(area), qPrintable(describe(area)));
            QVERIFY2(hasInk(shot, area.adjusted(2, 2, -2, -2), shot.pixelColor(area.right() - 1, area.top() + 1)),
                     qPrintable(QStringLiteral("nothing drawn in the counter at %1").arg(describe(area))));
        }
    }

    void aLongAnnouncementTitleEndsWithAnEllipsisAfterAWholeCharacter()
    {
        CMainWindow window(kSeed, true, 1.0); // the simulated market publishes the morning's announcements
        showAt(&window, 1280);
        auto* ticker = findItem<CNoticeWidget>(window.terminalStatusBar());
        QTRY_VERIFY2(ticker->isReady() && !ticker->ordinaryList().isEmpty(), "the morning's announcements never came");
        const QFontMetrics metrics(ticker->font());
        const int titleX = ticker->titleArea().left();
        const int room = ticker->width() - titleX;
        for (int step = 0; step < 40 && metrics.horizontalAdvance(ticker->currentTitle()) <= room; ++step)
            ticker->slotMoveTextTimeOut();
        const QString title = ticker->currentTitle();
        QVERIFY2(metrics.horizontalAdvance(title) > room, qPrintable(title));
        const QString ellipsis(QChar(0x2026));
        int whole = 1; // characters before the ellipsis
        while (metrics.horizontalAdvance(title.left(whole + 1) + ellipsis) <= room)
            ++whole;

        // From right after the last whole character to the ticker's end only the ellipsis's dots show:
        // a cut character there would put ink on more rows than the dots are tall.
        const QImage shot = window.grab().toImage();
        const QRect item = rectIn(&window, ticker);
        const int ellipsisStart = item.left() + titleX + metrics.horizontalAdvance(title.left(whole));
        const QColor background = colour("clr_main_statusbar_background");
        int inkedRows = 0;
        for (int y = item.top() + 1; y < item.bottom(); ++y) // the bar's edge lines lie on the item's top row
            inkedRows += hasInk(shot, QRect(ellipsisStart, y, item.right() + 1 - ellipsisStart, 1), background) ? 1 : 0;
        const int dotsHeight = metrics.tightBoundingRect(ellipsis).height() + 1; // with the antialiased edge
        QVERIFY2(inkedRows > 0 && inkedRows <= dotsHeight,
                 qPrintable(QStringLiteral("%1 rows inked after \"%2\", dots %3 px tall").arg(inkedRows).arg(title.left(whole)).arg(dotsHeight)));
    }
};

STATUSBAR_TEST_MAIN(TestDemoWindow)
#include "tst_demowindow.moc"
