#include <testmain.h>

#include <eventrecorder.h>
#include <finditem.h>

#include <statusbar/currenttimewidget.h>
#include <statusbar/itemframe.h>
#include <statusbar/itembasewidget.h>
#include <statusbar/netspeeddialog.h>
#include <statusbar/orderstrategywidget.h>
#include <statusbar/runningcstrategywidget.h>
#include <statusbar/runningorderswidget.h>
#include <statusbar/runningtaskswidget.h>
#include <statusbar/quoteconnectstatuswidget.h>
#include <statusbar/quotewidget.h>
#include <statusbar/statusbar.h>
#include <statusbar/statusbar_p.h>
#include <statusbar/statusnetspeed.h>
#include <statusbar/tooltipwidget.h>
#include <statusbar/tradewidget.h>

#include <terminalhost/appconfig.h>
#include <terminalhost/config.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/magnifierwidget.h>
#include <terminalhost/simpletext.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QToolTip>

#include <memory>

namespace {
constexpr int kBarHeight = 24;

struct Terminal {
    int clientType = 0;
    int mode = 0;
    bool onlyTradeModule = false;
    bool feedbackGranted = false;
    bool orderService = false;
};

void configure(const Terminal& terminal)
{
    CAppConfig::setClientType(terminal.clientType);
    getUserConfig()->setHasOrderService(terminal.orderService);
    getUserConfig()->mode = terminal.mode;
    getUserConfig()->setOnlyShowTradeModule(terminal.onlyTradeModule);
    LuaModuleCtrl::setModule({QStringLiteral("mdl_itsm"), QStringLiteral("mdl_itsm_system_user_feed_back")}, terminal.feedbackGranted);
}

// The worked case of the fitting pass: a quote-only terminal showing the trade module alone.
const Terminal kQuoteTerminal{1, 2, true, true};

QString itemName(const QWidget* item)
{
    if (qobject_cast<const CRunningOrdersWidget*>(item))
        return QStringLiteral("orders");
    if (qobject_cast<const CRunningTasksWidget*>(item))
        return QStringLiteral("tasks");
    if (qobject_cast<const CRunningCStrategyWidget*>(item))
        return QStringLiteral("strategies");
    if (qobject_cast<const COrderStrategyWidget*>(item))
        return QStringLiteral("order switch");
    if (qobject_cast<const CTradeWidget*>(item))
        return QStringLiteral("trade");
    if (qobject_cast<const CQuoteWidget*>(item))
        return QStringLiteral("quote");
    if (dynamic_cast<const CQuoteConnectStatusWidget*>(item))
        return QStringLiteral("quote source");
    if (qobject_cast<const CCurrentTimeWidget*>(item))
        return QStringLiteral("clock");
    if (qobject_cast<const CStatusNetSpeed*>(item))
        return QStringLiteral("latency");
    if (qobject_cast<const CMagnifierWidget*>(item))
        return QStringLiteral("magnifier");
    if (const auto* image = qobject_cast<const CImageWidget*>(item))
        return image->imageKey() == QLatin1String("img_toolbar_seperator") ? QStringLiteral("separator") : QString();
    return QString();
}

QStringList registeredNames(const CStatusBar& bar)
{
    QStringList names;
    for (const CStatusBarPrivate::Registered& entry : CStatusBarPrivate::get(&bar)->registered)
        names << itemName(entry.item);
    return names;
}

// The bar's direct children from left to right, as a person sees the row.
QStringList rowNames(const CStatusBar& bar)
{
    QList<QWidget*> children = bar.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    std::stable_sort(children.begin(), children.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    QStringList names;
    for (QWidget* child : children) {
        if (!child->isHidden() && !itemName(child).isEmpty())
            names << itemName(child);
    }
    return names;
}

int separatorWidthSum(const CStatusBar& bar)
{
    // The separators after the stretch are the ones the bar counts.
    int sum = 0;
    for (const CImageWidget* image : bar.findChildren<CImageWidget*>(QString(), Qt::FindDirectChildrenOnly))
        sum += itemName(image) == QLatin1String("separator") ? image->width() : 0;
    return sum;
}

// The row's wanted width, computed the way a reader of the bar's rules would.
int wantedWidth(CStatusBar& bar)
{
    auto* latency = bar.findChild<CStatusNetSpeed*>();
    auto* magnifier = bar.findChild<CMagnifierWidget*>();
    auto* clock = bar.findChild<CCurrentTimeWidget*>();
    int total = separatorWidthSum(bar) + latency->width() + magnifier->width() + 10 + clock->getMaxWidth();
    if (auto* quoteSource = findItem<CQuoteConnectStatusWidget>(&bar))
        total += quoteSource->getMaxWidth();
    if (auto* orderSwitch = bar.findChild<COrderStrategyWidget*>())
        total += orderSwitch->width() + 8;
    for (const CStatusBarPrivate::Registered& entry : CStatusBarPrivate::get(&bar)->registered) {
        CItemBaseWidget* item = entry.item;
        if (qobject_cast<CRunningOrdersWidget*>(item) || qobject_cast<CRunningTasksWidget*>(item)
            || qobject_cast<CRunningCStrategyWidget*>(item))
            total += item->getMaxWidth();
    }
    // The separator after the order and task counters counts on both sides of the row.
    if (bar.findChild<CRunningTasksWidget*>())
        total += bar.findChild<CImageWidget*>(QString(), Qt::FindDirectChildrenOnly)->width();
    return total;
}

QColor themeColor(const char* key)
{
    return CUiResource::instance()->getColor(QLatin1String(key));
}

// The items that draw the shared frame, each in a shown window; pressing opens nothing here.
std::unique_ptr<QWidget> windowWithFramedItem(const QString& name, QWidget** item)
{
    auto window = std::make_unique<QWidget>();
    window->setGeometry(200, 400, 120, 30);
    if (name == QLatin1String("latency"))
        *item = new CStatusNetSpeed(window.get());
    else if (name == QLatin1String("quote source"))
        *item = new CQuoteConnectStatusWidget(window.get());
    else
        *item = new COrderStrategyWidget(window.get());
    (*item)->setGeometry(10, 0, 60, 23);
    window->show();
    return window;
}

const CItemFrame& frameOf(QWidget* item)
{
    if (auto* latency = qobject_cast<CStatusNetSpeed*>(item))
        return latency->frame();
    if (auto* quoteSource = qobject_cast<CQuoteConnectStatusWidget*>(item))
        return quoteSource->frame();
    return qobject_cast<COrderStrategyWidget*>(item)->frame();
}

bool isLite(CItemBaseWidget* item)
{
    if (auto* clock = qobject_cast<CCurrentTimeWidget*>(item))
        return clock->isLite();
    if (auto* quoteSource = dynamic_cast<CQuoteConnectStatusWidget*>(item))
        return quoteSource->label()->isHidden();
    return false;
}
}

class TestStatusBar : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }

    void buildsTheItemsTheTerminalCalls_data()
    {
        QTest::addColumn<int>("clientType");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("orderService");
        QTest::addColumn<QStringList>("registered");
        QTest::addColumn<QStringList>("row");
        const QStringList rightHand{"separator", "magnifier", "separator", "trade", "quote", "latency", "clock"};
        QTest::newRow("trading terminal")
            << 0 << 0 << false << QStringList{"orders", "tasks", "strategies", "trade", "quote", "clock"}
            << QStringList{"orders", "tasks", "separator", "strategies"} + rightHand;
        QTest::newRow("trading terminal with order service")
            << 0 << 0 << true << QStringList{"orders", "tasks", "strategies", "trade", "quote", "clock"}
            << QStringList{"orders", "tasks", "separator", "strategies", "separator", "magnifier", "separator", "order switch",
                           "trade", "quote", "latency", "clock"};
        QTest::newRow("trading terminal, quote layout")
            << 0 << 2 << true << QStringList{"trade", "quote", "clock"}
            << QStringList{"separator", "magnifier", "separator", "order switch", "trade", "quote", "latency", "clock"};
        QTest::newRow("quote client, even with an order service")
            << 1 << 0 << true << QStringList{"strategies", "trade", "quote", "quote source", "clock"}
            << QStringList{"strategies", "separator", "magnifier", "separator", "trade", "quote", "quote source", "latency", "clock"};
    }
    void buildsTheItemsTheTerminalCalls()
    {
        QFETCH(int, clientType);
        QFETCH(int, mode);
        QFETCH(bool, orderService);
        QFETCH(QStringList, registered);
        QFETCH(QStringList, row);
        configure({clientType, mode, false, false, orderService});
        CStatusBar bar(nullptr);
        bar.resize(1200, kBarHeight);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QCOMPARE(registeredNames(bar), registered);
        QCOMPARE(rowNames(bar), row);
        QCOMPARE(bar.height(), kBarHeight);
    }

    void rightHandItemsNeitherOverlapNorLeaveTheBar()
    {
        configure({1, 0, false, false});
        CStatusBar bar(nullptr);
        bar.resize(1000, kBarHeight);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QList<QWidget*> children = bar.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        std::sort(children.begin(), children.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
        int previousRight = 0;
        for (QWidget* child : children) {
            if (child->isHidden() || child->isWindow())
                continue;
            QVERIFY2(child->x() >= previousRight, qPrintable(itemName(child) + " overlaps its left neighbour"));
            previousRight = child->geometry().right() + 1;
            QVERIFY2(child->y() >= 0 && child->geometry().bottom() < kBarHeight, qPrintable(itemName(child) + " leaves the bar"));
        }
        QVERIFY(previousRight <= bar.width());
    }

    void fitsTheWorkedCaseFromTheRight()
    {
        configure(kQuoteTerminal);
        CStatusBar bar(nullptr);
        QCOMPARE(registeredNames(bar), (QStringList{"trade", "quote", "quote source", "clock"}));
        auto* clock = bar.findChild<CCurrentTimeWidget*>();
        auto* quoteSource = findItem<CQuoteConnectStatusWidget>(&bar);
        const int total = wantedWidth(bar);

        bar.adjustWidgetWidth(total);
        QVERIFY(!isLite(clock));
        QVERIFY(!isLite(quoteSource));
        QCOMPARE(clock->width(), clock->getMaxWidth());

        bar.adjustWidgetWidth(total - 1);
        QVERIFY(isLite(clock));
        QCOMPARE(clock->width(), clock->getMinWidth());
        QVERIFY(!isLite(quoteSource));

        // Once the clock's saving is spent the quote source goes compact too.
        const int clockSaving = clock->getMaxWidth() - clock->getMinWidth();
        bar.adjustWidgetWidth(total - clockSaving - 1);
        QVERIFY(isLite(quoteSource));
        QCOMPARE(quoteSource->width(), quoteSource->getMinWidth());

        // And room again restores the full forms.
        bar.adjustWidgetWidth(total + 10);
        QVERIFY(!isLite(clock));
        QVERIFY(!isLite(quoteSource));
        QCOMPARE(quoteSource->width(), std::min(quoteSource->getMaxWidth(), quoteSource->maximumWidth()));
    }

    void shrinksTheRunningCountersLastAndRestoresThemWithRoom()
    {
        configure({0, 0, false, false, true});
        CStatusBar bar(nullptr);
        QCOMPARE(registeredNames(bar), (QStringList{"orders", "tasks", "strategies", "trade", "quote", "clock"}));
        const int total = wantedWidth(bar);
        bar.adjustWidgetWidth(total);
        auto* orders = bar.findChild<CRunningOrdersWidget*>();
        auto* strategies = bar.findChild<CRunningCStrategyWidget*>();
        QVERIFY(!isLite(bar.findChild<CCurrentTimeWidget*>()));
        QCOMPARE(orders->width(), std::min(orders->getMaxWidth(), orders->maximumWidth()));
        bar.adjustWidgetWidth(total - 1);
        QVERIFY(isLite(bar.findChild<CCurrentTimeWidget*>()));

        // Far too narrow: every registered item ends at its compact width, the clock first in line.
        bar.adjustWidgetWidth(100);
        QVERIFY(isLite(bar.findChild<CCurrentTimeWidget*>()));
        QCOMPARE(strategies->width(), std::max(strategies->getMinWidth(), strategies->minimumWidth()));
        QCOMPARE(orders->width(), std::max(orders->getMinWidth(), orders->minimumWidth()));

        bar.adjustWidgetWidth(total);
        QVERIFY(!isLite(bar.findChild<CCurrentTimeWidget*>()));
    }

    void aWiderRunningCountRelaysTheRowOut()
    {
        configure({0, 0, false, false, false});
        CStatusBar bar(nullptr);
        bar.resize(1400, kBarHeight);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        auto* orders = bar.findChild<CRunningOrdersWidget*>();
        auto* tasks = bar.findChild<CRunningTasksWidget*>();
        bar.setRunningOrders(1); // as the first refresh tick does
        const int widthBefore = orders->width();
        bar.setRunningOrders(123456);
        QVERIFY(orders->width() > widthBefore);
        QVERIFY2(orders->geometry().right() < tasks->x(),
                 qPrintable(QStringLiteral("orders end at %1, tasks start at %2").arg(orders->geometry().right()).arg(tasks->x())));
    }

    void forwardsCountsOnlyToItemsItHas()
    {
        auto texts = [](QWidget* item) {
            QStringList found;
            for (CSimpleTextWidget* text : item->findChildren<CSimpleTextWidget*>())
                found << text->getText();
            return found;
        };
        configure({0, 0, false, false, false});
        CStatusBar tradingBar(nullptr);
        tradingBar.setRunningOrders(7);
        tradingBar.setRunningTasks(12);
        tradingBar.setNetStatus(3); // no quote source item here: nothing happens
        QVERIFY(texts(tradingBar.findChild<CRunningOrdersWidget*>()).contains(QStringLiteral("7")));
        QVERIFY(texts(tradingBar.findChild<CRunningTasksWidget*>()).contains(QStringLiteral("12")));

        configure({1, 0, false, false, false});
        CStatusBar quoteClientBar(nullptr);
        quoteClientBar.setRunningOrders(7); // no running orders item here: nothing happens
        quoteClientBar.setNetStatus(0);
        auto* quoteSource = findItem<CQuoteConnectStatusWidget>(&quoteClientBar);
        QCOMPARE(quoteSource->icon()->imageKey(), QStringLiteral("tc_img_status_bar_quoteconnect_none"));
        quoteClientBar.setNetStatus(3);
        QCOMPARE(quoteSource->count()->getText(), QStringLiteral("3"));
    }

    void resizingTheBarRunsTheFittingPass()
    {
        configure(kQuoteTerminal);
        CStatusBar bar(nullptr);
        bar.resize(wantedWidth(bar) - 1, kBarHeight);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QVERIFY(isLite(bar.findChild<CCurrentTimeWidget*>()));
        bar.resize(wantedWidth(bar) + 200, kBarHeight);
        QTRY_VERIFY(!isLite(bar.findChild<CCurrentTimeWidget*>()));
    }

    void theRunningCounterSignalRefitsOnlyAfterAFirstWidth()
    {
        configure(kQuoteTerminal);
        CStatusBar bar(nullptr);
        auto* clock = bar.findChild<CCurrentTimeWidget*>();
        const int heightBefore = clock->height();
        QVERIFY(QMetaObject::invokeMethod(&bar, "slotResizeRunningSize"));
        QCOMPARE(clock->height(), heightBefore);

        bar.adjustWidgetWidth(wantedWidth(bar) - 1);
        bar.adjustWidgetWidth(wantedWidth(bar) + 50);
        QVERIFY(!isLite(clock));
        QVERIFY(QMetaObject::invokeMethod(&bar, "slotResizeRunningSize"));
        QVERIFY(!isLite(clock));
        QCOMPARE(clock->height(), kBarHeight);
    }

    void answersTheBusEventsItOwns_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("arg");
        QTest::addColumn<bool>("consumed");
        QTest::newRow("latency chart") << 5 << 1144 << 0 << true;
        QTest::newRow("activation passed to the list") << 5 << 1133 << 0 << false;
        QTest::newRow("other activation") << 5 << 77 << 0 << false;
        QTest::newRow("ui scale") << 57 << 0 << 150 << true;
        QTest::newRow("trade tooltip shown") << 1282 << 0 << 0 << true;
        QTest::newRow("trade tooltip hidden") << 1282 << 0 << 1 << true;
        QTest::newRow("text click") << 10 << 3 << 0 << false;
        QTest::newRow("table cell") << 233 << 0 << 0 << false;
    }
    void answersTheBusEventsItOwns()
    {
        QFETCH(int, type);
        QFETCH(int, id);
        QFETCH(int, arg);
        QFETCH(bool, consumed);
        getConfig()->setUseWebView(false);
        CStatusBar bar(nullptr);
        QCOMPARE(bar.handleEvent(type, id, arg, QString(), nullptr), consumed);
    }

    void theUiScaleEventSetsTheScaleTheMagnifierStartsFrom()
    {
        CStatusBar bar(nullptr);
        QVERIFY(bar.handleEvent(57, 0, 125, QString(), nullptr));
        QCOMPARE(CUiResource::instance()->getUIScale(), 1.25);
        CStatusBar laterBar(nullptr);
        QCOMPARE(laterBar.findChild<CMagnifierWidget*>()->fontScale(), 125);
    }

    void theLatencyChartDialogIsCreatedOnceAndKept()
    {
        getConfig()->setUseWebView(false);
        CStatusBar bar(nullptr);
        QVERIFY(!CStatusBarPrivate::get(&bar)->netSpeedDialog);
        QVERIFY(bar.handleEvent(5, 1144, 0, QString(), nullptr));
        QPointer<CNetSpeedDialog> dialog = CStatusBarPrivate::get(&bar)->netSpeedDialog;
        QVERIFY(dialog);
        QVERIFY(!dialog->isVisible());
        QVERIFY(bar.handleEvent(5, 1144, 0, QString(), nullptr));
        QCOMPARE(CStatusBarPrivate::get(&bar)->netSpeedDialog, dialog.data());
    }

    void aTradeTooltipLeaveBeforeAnyEnterCreatesItHidden()
    {
        CStatusBar bar(nullptr);
        QVERIFY(!CStatusBarPrivate::get(&bar)->tradeToolTip);
        QVERIFY(bar.handleEvent(1282, 0, 1, QString(), nullptr));
        QVERIFY(CStatusBarPrivate::get(&bar)->tradeToolTip);
        QVERIFY(!CStatusBarPrivate::get(&bar)->tradeToolTip->isVisible());
    }

    void eventsTheBarDoesNotOwnReachTheMainWindow()
    {
        EventRecorder mainWindow;
        configure({1, 0, false, false});
        CStatusBar bar(nullptr);
        findItem<CQuoteConnectStatusWidget>(&bar)->handleEvent(5, 0, 0, QString(), nullptr);
        QCOMPARE(mainWindow.count(1081), 1);
    }

    void framedItemsLightOnHoverAndKeepTheirPressLook_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("afterPress");
        QTest::newRow("latency indicator") << "latency" << int(CItemFrame::Pressed);
        QTest::newRow("quote source count") << "quote source" << int(CItemFrame::Hover);
        QTest::newRow("order service switch") << "order switch" << int(CItemFrame::Pressed);
    }
    void framedItemsLightOnHoverAndKeepTheirPressLook()
    {
        QFETCH(QString, item);
        QFETCH(int, afterPress);
        getConfig()->setUseWebView(false);
        QWidget* widget = nullptr;
        auto window = windowWithFramedItem(item, &widget);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(frameOf(widget).look(), CItemFrame::Rest);
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(widget, &enter);
        QCOMPARE(frameOf(widget).look(), CItemFrame::Hover);
        QTest::mousePress(widget, Qt::RightButton, {}, QPoint(3, 3));
        QCOMPARE(frameOf(widget).look(), CItemFrame::Hover);
        QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(int(frameOf(widget).look()), afterPress);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &leave);
        QCOMPARE(frameOf(widget).look(), CItemFrame::Rest);
        QToolTip::hideText();
    }

    void theFrameDrawsTheLooksSidesAndAFocusOutline()
    {
        QWidget* item = nullptr;
        auto window = windowWithFramedItem(QStringLiteral("quote source"), &item);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // No window manager under Xvfb activates it, and only an active window passes on the focus.
        QApplication::setActiveWindow(window.get());
        item->setFocusPolicy(Qt::StrongFocus); // as the toolkit makes items reachable by Tab
        const QPoint side(0, 12);
        const QPoint inside(1, 1); // where the focus outline runs; the fill when there is no focus
        auto pixel = [item](const QPoint& at) { return item->grab().toImage().pixelColor(at); };
        QCOMPARE(pixel(side), themeColor("clr_statusbar_item_default_border"));
        QCOMPARE(pixel(inside), themeColor("clr_statusbar_item_default_bg"));

        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(item, &enter);
        QCOMPARE(pixel(side), themeColor("clr_statusbar_item_enter_border"));
        QCOMPARE(pixel(inside), themeColor("clr_statusbar_item_enter_bg"));

        item->setFocus();
        QTRY_VERIFY(item->hasFocus());
        QCOMPARE(pixel(inside), themeColor("clr_statusbar_item_focus_border"));
        QCOMPARE(pixel(side), themeColor("clr_statusbar_item_enter_border"));
        item->clearFocus();
        QCOMPARE(pixel(inside), themeColor("clr_statusbar_item_enter_bg"));
    }

    void aToolTipSizesItselfToItsLines()
    {
        ToolTipWidget tip;
        tip.relayout();
        QCOMPARE(tip.size(), QSize(10, 10)); // no lines: an empty box
        const QVector<QString> lines{QStringLiteral("88020011: 登录成功"), QStringLiteral("8802: 登录失败")};
        tip.setTexts(lines);
        tip.setColorKeys({QStringLiteral("clr_global_black"), QStringLiteral("clr_global_red")});
        tip.relayout();
        int widest = 0;
        int heights = 0;
        for (const QString& line : lines) {
            const QSize size = CSimpleText::getSize(line, QStringLiteral("fnt_default_normal"));
            widest = std::max(widest, size.width());
            heights += size.height();
        }
        QCOMPARE(tip.totalHeight(), 5 * 2 + 10 + heights);
        QCOMPARE(tip.size(), QSize(widest + 10, tip.totalHeight()));
    }

    void statusBarToolTipsRiseAboveTheFirstBarByTheirLineCount()
    {
        QWidget window;
        window.setGeometry(100, 500, 900, 100);
        auto* bar = new CStatusBar(&window);
        bar->setGeometry(0, 76, 900, kBarHeight);
        auto* laterBar = new CStatusBar(&window);
        laterBar->setGeometry(0, 20, 900, kBarHeight);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* anchor = bar->findChild<CTradeWidget*>();
        const int lineHeight = QFontMetrics(CUiResource::instance()->getFont(QStringLiteral("fnt_default_normal_fix"))).height();

        auto tipTop = [&](const QString& text) {
            CStatusBar::showToolTip(anchor, text);
            QWidget* tip = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->inherits("QTipLabel") && widget->isVisible())
                    tip = widget;
            }
            const int top = tip ? tip->y() : -1;
            QToolTip::hideText();
            return top;
        };
        const int oneLine = tipTop(QStringLiteral("行情源"));
        const int threeLines = tipTop(QStringLiteral("a\nb\nc"));
        const int trailingBreak = tipTop(QStringLiteral("a\nb\n"));
        QVERIFY(oneLine > 0);
        QCOMPARE(oneLine - threeLines, 2 * lineHeight);
        QCOMPARE(trailingBreak, threeLines);
        // The tooltip sits a fixed lift plus one line per part above the first bar, not the later one.
        const int barTop = bar->mapToGlobal(QPoint(0, 0)).y();
        QVERIFY2(oneLine < barTop && oneLine > barTop - 28 - lineHeight - 30, qPrintable(QString::number(oneLine)));
    }
};

STATUSBAR_TEST_MAIN(TestStatusBar)
#include "tst_statusbar.moc"
