#include <testmain.h>

#include <eventrecorder.h>
#include <finditem.h>
#include <shownrect.h>

#include <statusbar/bottomrollingquoterwidget.h>
#include <statusbar/clientfeedbackwidget.h>
#include <statusbar/currenttimewidget.h>
#include <statusbar/fittingpass.h>
#include <statusbar/itemaccessibility.h>
#include <statusbar/itemfocusframe.h>
#include <statusbar/itemframe.h>
#include <statusbar/itembasewidget.h>
#include <statusbar/netspeeddialog.h>
#include <statusbar/noticewidget.h>
#include <statusbar/orderstrategywidget.h>
#include <statusbar/otherclientwidget.h>
#include <statusbar/runningcountwidget.h>
#include <statusbar/runningcstrategywidget.h>
#include <statusbar/runningorderswidget.h>
#include <statusbar/runningtaskswidget.h>
#include <statusbar/quoteconnectstatuswidget.h>
#include <statusbar/quotewidget.h>
#include <statusbar/rollingmessagewidget.h>
#include <statusbar/statusbar.h>
#include <statusbar/statusbar_p.h>
#include <statusbar/statusbarevents.h>
#include <statusbar/statusnetspeed.h>
#include <statusbar/tooltipwidget.h>
#include <statusbar/tradewidget.h>

#include <terminalhost/appconfig.h>
#include <terminalhost/config.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/magnifierwidget.h>
#include <terminalhost/orderservice.h>
#include <terminalhost/quoteclient.h>
#include <terminalhost/simpletext.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/timeservice.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QLabel>
#include <QStatusBar>
#include <QToolTip>

#include <memory>

Q_DECLARE_METATYPE(FittingPass::Input)

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
    if (qobject_cast<const CRollingMessageWidget*>(item))
        return QStringLiteral("messages");
    if (qobject_cast<const CBottomRollingQuoterWidget*>(item))
        return QStringLiteral("index");
    if (qobject_cast<const CNoticeWidget*>(item))
        return QStringLiteral("notices");
    if (qobject_cast<const COrderStrategyWidget*>(item))
        return QStringLiteral("order switch");
    if (qobject_cast<const CTradeWidget*>(item))
        return QStringLiteral("trade");
    if (qobject_cast<const CQuoteWidget*>(item))
        return QStringLiteral("quote");
    if (qobject_cast<const CQuoteConnectStatusWidget*>(item))
        return QStringLiteral("quote source");
    if (qobject_cast<const CClientFeedBackWidget*>(item))
        return QStringLiteral("feedback");
    if (qobject_cast<const CCurrentTimeWidget*>(item))
        return QStringLiteral("clock");
    if (qobject_cast<const CStatusNetSpeed*>(item))
        return QStringLiteral("latency");
    if (qobject_cast<const CMagnifierWidget*>(item))
        return QStringLiteral("magnifier");
    if (qobject_cast<const COtherClientWidget*>(item))
        return QStringLiteral("launcher");
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

// The bar's visible widgets from left to right, as a person sees the row; the focus outline is
// drawn around one of them, not beside them.
QList<QWidget*> rowOf(const CStatusBar& bar)
{
    QList<QWidget*> row = bar.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    row.erase(std::remove_if(row.begin(), row.end(),
                             [](QWidget* w) { return w->isHidden() || w->isWindow() || qobject_cast<CItemFocusFrame*>(w); }),
              row.end());
    std::stable_sort(row.begin(), row.end(), [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    return row;
}

QStringList namesOf(const QList<QWidget*>& widgets)
{
    QStringList names;
    for (QWidget* widget : widgets) {
        if (!itemName(widget).isEmpty())
            names << itemName(widget);
    }
    return names;
}

QStringList rowNames(const CStatusBar& bar)
{
    return namesOf(rowOf(bar));
}

// The widgets of the row that overlap their left neighbour.
QStringList overlapsIn(const CStatusBar& bar)
{
    QStringList overlaps;
    int previousRight = 0;
    for (QWidget* widget : rowOf(bar)) {
        const QRect shown = shownRect(widget);
        if (shown.isEmpty())
            continue;
        if (shown.x() < previousRight)
            overlaps << itemName(widget);
        previousRight = shown.right() + 1;
    }
    return overlaps;
}

// A text an item of the row draws, in its font, and the room the item gives it.
struct ShownText {
    QString text;
    QFont font;
    QRect room; ///< in the item's coordinates
};

QVector<ShownText> textsOf(QWidget* item)
{
    const CUiResource* resource = CUiResource::instance();
    QVector<ShownText> texts;
    for (CSimpleTextWidget* part : item->findChildren<CSimpleTextWidget*>()) {
        if (part->isVisibleTo(item))
            texts.push_back({part->getText(), resource->getFont(part->fontKey()), QRect(part->mapTo(item, QPoint()), part->size())});
    }
    // A tag keeps a column of its colour at either side, or two tags read as one block.
    const QFont tagFont = resource->getFont(QStringLiteral("fnt_default_normal"));
    if (qobject_cast<CTradeWidget*>(item))
        texts.push_back({QStringLiteral("交易"), tagFont, item->rect().adjusted(1, 0, -1, 0)});
    if (qobject_cast<CQuoteWidget*>(item))
        texts.push_back({QStringLiteral("行情"), tagFont, item->rect().adjusted(1, 0, -1, 0)});
    if (auto* clock = qobject_cast<CCurrentTimeWidget*>(item))
        texts.push_back({clock->timeText(), resource->getFont(QStringLiteral("tc_fnt_statusbar_nettime")), clock->timeArea()});
    return texts;
}

// A status bar along the top of a shown window, its clock showing a morning time.
struct ShownBar {
    QWidget window;
    CStatusBar* bar = new CStatusBar(&window);

    explicit ShownBar(int width)
    {
        getTimeService()->publishTime(static_cast<int>(QDateTime(QDate(2024, 1, 2), QTime(9, 5, 3)).toSecsSinceEpoch()));
        window.resize(1900, 2 * kBarHeight);
        bar->setGeometry(0, 0, width, kBarHeight);
        window.show();
    }
};

// The row's wanted width, as the bar's fitting pass reckons it.
int wantedWidth(CStatusBar& bar)
{
    return FittingPass::decide(CStatusBarPrivate::get(&bar)->fittingInput(), 0).wantedWidth;
}

QColor themeColor(const char* key)
{
    return CUiResource::instance()->getColor(QLatin1String(key));
}

// The value changes a screen reader is told of, while a test listens.
QVector<QPair<QObject*, QString>>& heardValues()
{
    static QVector<QPair<QObject*, QString>> heard;
    return heard;
}

void hearValueChange(QAccessibleEvent* event)
{
    // Read back through the interface, as a screen reader does on the event.
    if (event->type() == QAccessible::ValueChanged)
        heardValues().append({event->object(), event->accessibleInterface()->text(QAccessible::Value)});
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
    if (auto* quoteSource = qobject_cast<CQuoteConnectStatusWidget*>(item))
        return quoteSource->label()->isHidden();
    if (auto* feedback = qobject_cast<CClientFeedBackWidget*>(item))
        return feedback->label()->isHidden();
    if (auto* counter = qobject_cast<CRunningCountWidget*>(item))
        return QStringList{QStringLiteral(" 委托: "), QStringLiteral(" 任务: "), QStringLiteral(" 策略: ")}.contains(counter->label()->getText());
    return false;
}

// What a widget of the row shows as text, for the label that stands in for it in QStatusBar.
QString shownText(QWidget* widget)
{
    if (auto* clock = qobject_cast<CCurrentTimeWidget*>(widget))
        return clock->dateText() + clock->timeText();
    if (qobject_cast<CTradeWidget*>(widget))
        return QStringLiteral("交易");
    if (qobject_cast<CQuoteWidget*>(widget))
        return QStringLiteral("行情");
    QString text;
    for (CSimpleTextWidget* part : widget->findChildren<CSimpleTextWidget*>()) {
        if (!part->isHidden())
            text += part->getText();
    }
    return text;
}

// Counts the resize and move events each watched widget receives.
class GeometryEvents : public QObject
{
    Q_OBJECT
public:
    void watchChildrenOf(QWidget* parent)
    {
        for (QWidget* child : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            child->installEventFilter(this);
    }
    int resizes(QObject* widget) const { return m_resizes.value(widget); }
    int moves(QObject* widget) const { return m_moves.value(widget); }
    int totalResizes() const { return sum(m_resizes); }
    int totalMoves() const { return sum(m_moves); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            ++m_resizes[watched];
        else if (event->type() == QEvent::Move)
            ++m_moves[watched];
        return false;
    }

private:
    static int sum(const QHash<QObject*, int>& counts)
    {
        int total = 0;
        for (int count : counts)
            total += count;
        return total;
    }
    QHash<QObject*, int> m_resizes;
    QHash<QObject*, int> m_moves;
};

// Builds an input of the fitting pass from a compact description, for the table below.
struct FitCase {
    FittingPass::Input input;

    FitCase& separators(int px) { input.separatorWidthSum = px; return *this; }
    FitCase& rightFixed(int px) { input.rightFixedWidth = px; return *this; }
    FitCase& fixedOccupied(int px) { input.fixedOccupied = px; return *this; }
    FitCase& allowance(int px) { input.orderSwitchAllowance = px; return *this; }
    // A left-hand item also counts towards the left-hand wanted width, as the bar counts it.
    FitCase& left(int full, int lite, int lowest = 0, int highest = FittingPass::kUnbounded, bool occupies = true)
    {
        input.leftWantedWidth += full;
        return add({FittingPass::Role::Item, full, lite, lowest, highest, occupies, 0});
    }
    FitCase& right(int full, int lite, int lowest = 0, int highest = FittingPass::kUnbounded)
    {
        return add({FittingPass::Role::Item, full, lite, lowest, highest, true, 0});
    }
    // The trade and quote tags: 32 px wide, asking for their width + 15 either way.
    FitCase& tag() { return add({FittingPass::Role::Tag, 47, 47, 32, 32, false, 32}); }
    FitCase& ticker(int full, int lowest, int highest)
    {
        input.leftWantedWidth += full;
        return add({FittingPass::Role::Ticker, full, full, lowest, highest, false, 0});
    }
    FitCase& add(const FittingPass::Item& item) { input.items.push_back(item); return *this; }
};

// The worked case: trade and quote tags, a quote source wanting 60 (at least 31, at most 90), a clock
// wanting 135 (at least 60), two 2 px separators and 34 + 147 + 10 px of fixed right-hand widgets.
FittingPass::Input workedCase()
{
    return FitCase().separators(4).rightFixed(34 + 60 + 147 + 10 + 135).tag().tag().right(60, 31, 31, 90).right(135, 60, 60, 135).input;
}

// A trading row with the announcement ticker: orders 150 (100 compact), strategies 120 (80, not
// counted against the ticker), the ticker 640 (200 to 800), a clock 135 (60), 181 px of fixed
// widgets; it wants 4 + 390 + 910 = 1304 px.
FittingPass::Input tickerCase()
{
    return FitCase()
        .separators(4)
        .rightFixed(390)
        .fixedOccupied(181)
        .left(150, 100)
        .left(120, 80, 0, FittingPass::kUnbounded, false)
        .ticker(640, 200, 800)
        .right(135, 60)
        .input;
}

// 'F' full, 'L' compact, '-' left as it is; one letter per item.
QString formsOf(const FittingPass::Plan& plan)
{
    QString forms;
    for (const FittingPass::ItemPlan& item : plan.items)
        forms += item.form == FittingPass::Form::Full ? QLatin1Char('F') : item.form == FittingPass::Form::Lite ? QLatin1Char('L') : QLatin1Char('-');
    return forms;
}

QVector<int> widthsOf(const FittingPass::Plan& plan)
{
    QVector<int> widths;
    for (const FittingPass::ItemPlan& item : plan.items)
        widths << item.width;
    return widths;
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
        const QStringList rightHand{"separator", "magnifier", "separator", "feedback", "separator", "trade", "quote", "latency", "clock"};
        QTest::newRow("trading terminal")
            << 0 << 0 << false << QStringList{"orders", "tasks", "messages", "strategies", "notices", "feedback", "trade", "quote", "clock"}
            << QStringList{"orders", "tasks", "separator", "messages", "separator", "strategies", "index", "notices"} + rightHand;
        QTest::newRow("trading terminal with order service")
            << 0 << 0 << true << QStringList{"orders", "tasks", "messages", "strategies", "notices", "feedback", "trade", "quote", "clock"}
            << QStringList{"orders", "tasks", "separator", "messages", "separator", "strategies", "index", "notices", "separator", "magnifier",
                           "separator", "feedback", "separator", "order switch", "trade", "quote", "latency", "clock"};
        QTest::newRow("trading terminal, quote layout")
            << 0 << 2 << true << QStringList{"notices", "feedback", "trade", "quote", "clock"}
            << QStringList{"index", "notices", "separator", "magnifier", "separator", "feedback", "separator", "order switch", "trade", "quote",
                           "latency", "clock"};
        QTest::newRow("quote client, even with an order service")
            << 1 << 0 << true << QStringList{"messages", "strategies", "notices", "feedback", "trade", "quote", "quote source", "clock"}
            << QStringList{"messages", "separator", "strategies", "index", "notices", "separator", "magnifier", "separator", "feedback",
                           "separator", "trade", "quote", "quote source", "latency", "clock"};
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

    void noTextOfTheBarIsCutOrOverlapsAtAnyScale_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<bool>("quoteTerminal"); // whose short row leaves every item its full form
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("width");
        for (const char* theme : {"dark", "light"}) {
            for (bool quoteTerminal : {false, true}) {
                for (int percent : {80, 100, 125, 150, 175, 200}) {
                    for (int width : {1280, 1800})
                        QTest::addRow("%s, %s, %d %%, %d px", theme, quoteTerminal ? "quote terminal" : "trading terminal", percent, width)
                            << QString::fromLatin1(theme) << quoteTerminal << percent << width;
                }
            }
        }
    }
    void noTextOfTheBarIsCutOrOverlapsAtAnyScale()
    {
        QFETCH(QString, theme);
        QFETCH(bool, quoteTerminal);
        QFETCH(int, percent);
        QFETCH(int, width);
        QVERIFY(CUiResource::instance()->setTheme(theme));
        CUiResource::instance()->setUIScale(percent / 100.0);
        configure(quoteTerminal ? kQuoteTerminal : Terminal{0, 0, false, false, true});
        ShownBar shown(width);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        QCOMPARE(overlapsIn(*shown.bar), QStringList());
        QVERIFY(!shownRect(shown.bar->findChild<CCurrentTimeWidget*>()).isEmpty());
        for (QWidget* widget : rowOf(*shown.bar)) {
            if (shownRect(widget).isEmpty())
                continue; // a row too long for the bar leaves out whole items, never parts of them
            QVERIFY2(shown.bar->rect().contains(widget->geometry()), qPrintable(itemName(widget) + " leaves the bar"));
            for (QWidget* part : widget->findChildren<QWidget*>())
                QVERIFY2(!part->isVisibleTo(widget) || !shownRect(part).isEmpty(), qPrintable(itemName(widget) + " hides a part of itself"));
            for (const ShownText& shownText : textsOf(widget)) {
                const QFontMetrics metrics(shownText.font);
                QVERIFY2(widget->rect().contains(shownText.room) && metrics.horizontalAdvance(shownText.text) <= shownText.room.width()
                             && metrics.height() <= shownText.room.height(),
                         qPrintable(QStringLiteral("%1 in %2 is cut").arg(shownText.text, itemName(widget))));
            }
        }
    }

    void decidesFormsAndWidthsFromTheRight_data()
    {
        QTest::addColumn<FittingPass::Input>("input");
        QTest::addColumn<int>("barWidth");
        QTest::addColumn<QString>("forms");
        QTest::addColumn<QVector<int>>("widths");
        QTest::addColumn<int>("fitted");
        const FittingPass::Input worked = workedCase(); // wants 390 px
        QTest::newRow("worked case with room to spare") << worked << 400 << "--FF" << QVector<int>{-1, -1, 60, 135} << 390;
        QTest::newRow("worked case at exactly its wanted width") << worked << 390 << "--FF" << QVector<int>{-1, -1, 60, 135} << 390;
        QTest::newRow("one pixel short: the clock goes first") << worked << 389 << "--FL" << QVector<int>{-1, -1, 60, 60} << 315;
        QTest::newRow("worked case at 350: still the clock alone") << worked << 350 << "--FL" << QVector<int>{-1, -1, 60, 60} << 315;
        QTest::newRow("the clock's saving spent: the quote source follows")
            << worked << 314 << "--LL" << QVector<int>{-1, -1, 31, 60} << 286;
        QTest::newRow("the tags go compact without saving anything") << worked << 285 << "LLLL" << QVector<int>{32, 32, 31, 60} << 286;

        const FittingPass::Input bounded = FitCase().left(200, 50, 80, 160).input;
        QTest::newRow("the item's maximum bounds its full width") << bounded << 300 << "F" << QVector<int>{160} << 200;
        QTest::newRow("the item's minimum bounds its compact width") << bounded << 100 << "L" << QVector<int>{80} << 50;

        const FittingPass::Input ticker = tickerCase(); // wants 1304 px
        QTest::newRow("the ticker keeps its wanted width while the row fits")
            << ticker << 1304 << "FF-F" << QVector<int>{150, 120, 640, 135} << 1304;
        // 1303 - 4 - (181 + 150 + 60) - 50 = 858, more than the ticker takes.
        QTest::newRow("one pixel short: the ticker takes the leftover up to its maximum")
            << ticker << 1303 << "FF-L" << QVector<int>{150, 120, 800, 60} << 1229;
        // 1000 - 4 - (181 + 100 + 60) - 50 = 605: the strategies counter is not counted.
        QTest::newRow("the ticker takes the leftover within its bounds")
            << ticker << 1000 << "LLLL" << QVector<int>{100, 80, 605, 60} << 1139;
        FittingPass::Input withOrderSwitch = ticker;
        withOrderSwitch.orderSwitchAllowance = 37;
        QTest::newRow("the order switch's allowance comes off the ticker's share")
            << withOrderSwitch << 1000 << "LLLL" << QVector<int>{100, 80, 568, 60} << 1139;
        QTest::newRow("a small leftover gives the ticker its minimum")
            << ticker << 400 << "LLLL" << QVector<int>{100, 80, 200, 60} << 1139;
        QTest::newRow("a leftover of exactly 0 leaves the ticker the width its turn gave it")
            << ticker << 395 << "LLLL" << QVector<int>{100, 80, 640, 60} << 1139;
        FittingPass::Input onABar = ticker;
        onABar.rowOverhead = 400; // 1303 - 400 - (150 + 120 + 60) = 573 px are left for the ticker
        QTest::newRow("the ticker stops where the rest of the row begins")
            << onABar << 1303 << "FF-L" << QVector<int>{150, 120, 573, 60} << 1229;
    }
    void decidesFormsAndWidthsFromTheRight()
    {
        QFETCH(FittingPass::Input, input);
        QFETCH(int, barWidth);
        QFETCH(QString, forms);
        QFETCH(QVector<int>, widths);
        QFETCH(int, fitted);
        const FittingPass::Plan plan = FittingPass::decide(input, barWidth);
        QCOMPARE(formsOf(plan), forms);
        QCOMPARE(widthsOf(plan), widths);
        QCOMPARE(plan.fittedWidth, fitted);
    }

    void everyItemTakesThePlannedFormAndWidth_data()
    {
        QTest::addColumn<int>("clientType");
        QTest::addColumn<int>("mode");
        QTest::newRow("trading terminal") << 0 << 0;
        QTest::newRow("trading terminal, quote layout") << 0 << 2;
        QTest::newRow("quote client") << 1 << 0;
        QTest::newRow("quote client, quote layout") << 1 << 2;
    }
    void everyItemTakesThePlannedFormAndWidth()
    {
        QFETCH(int, clientType);
        QFETCH(int, mode);
        configure({clientType, mode, false, false, true});
        ShownBar shown(1900);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        const CStatusBarPrivate* d = CStatusBarPrivate::get(shown.bar);
        // Narrowing the window step by step, then widening it again.
        QVector<int> widths;
        for (int width = 1800; width >= 300; width -= 23)
            widths << width;
        for (int width = 311; width <= 1800; width += 29)
            widths << width;
        for (int width : widths) {
            const FittingPass::Plan plan = FittingPass::decide(d->fittingInput(), width);
            shown.bar->resize(width, kBarHeight);
            for (std::size_t i = 0; i < d->registered.size(); ++i) {
                CItemBaseWidget* item = d->registered[i].item;
                const FittingPass::ItemPlan& step = plan.items[i];
                const QString where = itemName(item) + QStringLiteral(" at %1 px").arg(width);
                // The tags have no compact form to see, and the message count looks the same in both.
                if (step.form != FittingPass::Form::Kept && d->registered[i].role == FittingPass::Role::Item
                    && !qobject_cast<CRollingMessageWidget*>(item))
                    QVERIFY2(isLite(item) == (step.form == FittingPass::Form::Lite), qPrintable(where + " has the wrong form"));
                if (step.width >= 0)
                    QVERIFY2(item->width() == step.width, qPrintable(where + QStringLiteral(" is %1 px wide").arg(item->width())));
            }
            const QStringList overlaps = overlapsIn(*shown.bar);
            QVERIFY2(overlaps.isEmpty(), qPrintable(overlaps.join(", ") + QStringLiteral(" overlap at %1 px").arg(width)));
        }
    }

    void aWidthChangeResizesAndMovesEachWidgetAtMostOnce_data()
    {
        QTest::addColumn<int>("clientType");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        // Qt's status bar has no compact forms: only a step that switches no form compares with it.
        QTest::addColumn<bool>("likeQStatusBar");
        for (int clientType : {0, 1}) {
            const QString terminal = clientType == 0 ? QStringLiteral("trading terminal") : QStringLiteral("quote client");
            // At 500 px the row is longer than the bar: its right-hand end keeps to the edge and moves
            // with each step, where Qt's status bar squeezes its labels instead.
            QTest::addRow("%s, a step at 500 px", qPrintable(terminal)) << clientType << 507 << 500 << false;
            QTest::addRow("%s, a step with room", qPrintable(terminal)) << clientType << 1300 << 1250 << true;
            QTest::addRow("%s, from 1200 to 500 px", qPrintable(terminal)) << clientType << 1200 << 500 << false;
            QTest::addRow("%s, from 500 to 1300 px", qPrintable(terminal)) << clientType << 500 << 1300 << false;
        }
    }
    void aWidthChangeResizesAndMovesEachWidgetAtMostOnce()
    {
        QFETCH(int, clientType);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, likeQStatusBar);
        configure({clientType, 0, false, false, true});
        ShownBar shown(1800);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        CStatusBar* bar = shown.bar;

        // Qt's own status bar with one label per widget of the row and the same texts; what follows
        // the bar's stretch (the separator before the magnifier on) is at its right-hand end.
        const QList<QWidget*> row = rowOf(*bar);
        const int rightHandStart = row.indexOf(bar->findChild<CMagnifierWidget*>()) - 1;
        auto* plain = new QStatusBar(&shown.window);
        plain->setSizeGripEnabled(false);
        for (int index = 0; index < row.size(); ++index) {
            auto* label = new QLabel(shownText(row.at(index)));
            if (qobject_cast<CNoticeWidget*>(row.at(index)))
                plain->addWidget(label, 1); // the announcement ticker takes what the row leaves
            else if (index < rightHandStart)
                plain->addWidget(label);
            else
                plain->addPermanentWidget(label);
        }
        plain->setGeometry(0, kBarHeight, 1800, kBarHeight);
        plain->show();
        bar->resize(from, kBarHeight);
        plain->resize(from, kBarHeight);
        QCoreApplication::processEvents();

        GeometryEvents ours;
        GeometryEvents qts;
        ours.watchChildrenOf(bar);
        qts.watchChildrenOf(plain);
        bar->resize(to, kBarHeight);
        plain->resize(to, kBarHeight);
        for (QWidget* widget : row) {
            QVERIFY2(ours.resizes(widget) <= 1 && ours.moves(widget) <= 1,
                     qPrintable(itemName(widget) + QStringLiteral(" had %1 resizes and %2 moves").arg(ours.resizes(widget)).arg(ours.moves(widget))));
        }
        const QString counts = QStringLiteral("the bar: %1 resizes, %2 moves; QStatusBar: %3 resizes, %4 moves")
                                   .arg(ours.totalResizes()).arg(ours.totalMoves()).arg(qts.totalResizes()).arg(qts.totalMoves());
        if (likeQStatusBar)
            QVERIFY2(ours.totalResizes() <= qts.totalResizes() && ours.totalMoves() <= qts.totalMoves(), qPrintable(counts));
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
        QCOMPARE(registeredNames(bar), (QStringList{"orders", "tasks", "messages", "strategies", "notices", "feedback", "trade", "quote", "clock"}));
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

    void theRunningCounterSignalRefitsWithTheLastWidthOnceThereIsOne()
    {
        configure(kQuoteTerminal);
        CStatusBar bar(nullptr);
        auto* clock = bar.findChild<CCurrentTimeWidget*>();
        const int heightBefore = clock->height();
        QVERIFY(QMetaObject::invokeMethod(&bar, "slotResizeRunningSize"));
        QCOMPARE(clock->height(), heightBefore); // no width yet: nothing was fitted

        bar.adjustWidgetWidth(wantedWidth(bar) - 1);
        QVERIFY(isLite(clock));
        clock->switchToLite(false); // as a counter's redraw puts its own full form back
        QVERIFY(QMetaObject::invokeMethod(&bar, "slotResizeRunningSize"));
        QVERIFY(isLite(clock));
        QCOMPARE(clock->height(), kBarHeight);
    }

    void answersTheBusEventsItOwns_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("arg");
        QTest::addColumn<bool>("consumed");
        QTest::newRow("latency chart") << int(Event_Activate) << StatusBarEvent::IdNetSpeedChart << 0 << true;
        QTest::newRow("activation passed to the list") << int(Event_Activate) << StatusBarEvent::IdPassedToList << 0 << false;
        QTest::newRow("other activation") << int(Event_Activate) << 77 << 0 << false;
        QTest::newRow("ui scale") << int(Event_UiScale) << 0 << 150 << true;
        QTest::newRow("trade tooltip shown") << StatusBarEvent::TradeToolTip << 0 << 0 << true;
        QTest::newRow("trade tooltip hidden") << StatusBarEvent::TradeToolTip << 0 << 1 << true;
        QTest::newRow("text click") << int(Event_Click) << 3 << 0 << false;
        QTest::newRow("table cell") << int(Event_TableCellClick) << 0 << 0 << false;
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
        QVERIFY(bar.handleEvent(Event_UiScale, 0, 125, QString(), nullptr));
        QCOMPARE(CUiResource::instance()->getUIScale(), 1.25);
        CStatusBar laterBar(nullptr);
        QCOMPARE(laterBar.findChild<CMagnifierWidget*>()->fontScale(), 125);
    }

    void theLatencyChartDialogIsCreatedOnceAndKept()
    {
        getConfig()->setUseWebView(false);
        CStatusBar bar(nullptr);
        QVERIFY(!CStatusBarPrivate::get(&bar)->netSpeedDialog);
        QVERIFY(bar.handleEvent(Event_Activate, StatusBarEvent::IdNetSpeedChart, 0, QString(), nullptr));
        QPointer<CNetSpeedDialog> dialog = CStatusBarPrivate::get(&bar)->netSpeedDialog;
        QVERIFY(dialog);
        QVERIFY(!dialog->isVisible());
        QVERIFY(bar.handleEvent(Event_Activate, StatusBarEvent::IdNetSpeedChart, 0, QString(), nullptr));
        QCOMPARE(CStatusBarPrivate::get(&bar)->netSpeedDialog, dialog.data());
    }

    void aTradeTooltipLeaveBeforeAnyEnterCreatesItHidden()
    {
        CStatusBar bar(nullptr);
        QVERIFY(!CStatusBarPrivate::get(&bar)->tradeToolTip);
        QVERIFY(bar.handleEvent(StatusBarEvent::TradeToolTip, 0, 1, QString(), nullptr));
        QVERIFY(CStatusBarPrivate::get(&bar)->tradeToolTip);
        QVERIFY(!CStatusBarPrivate::get(&bar)->tradeToolTip->isVisible());
    }

    void eventsTheBarDoesNotOwnReachTheMainWindow()
    {
        EventRecorder mainWindow;
        configure({1, 0, false, false});
        CStatusBar bar(nullptr);
        findItem<CQuoteConnectStatusWidget>(&bar)->handleEvent(Event_Activate, 0, 0, QString(), nullptr);
        QCOMPARE(mainWindow.count(StatusBarEvent::QuoteSources), 1);
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

    void theFrameDrawsTheLooksSides()
    {
        QWidget* item = nullptr;
        auto window = windowWithFramedItem(QStringLiteral("quote source"), &item);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QPoint side(0, 12);
        const QPoint inside(1, 1);
        auto pixel = [item](const QPoint& at) { return item->grab().toImage().pixelColor(at); };
        QCOMPARE(pixel(side), themeColor("clr_statusbar_item_default_border"));
        QCOMPARE(pixel(inside), themeColor("clr_statusbar_item_default_bg"));

        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(item, &enter);
        QCOMPARE(pixel(side), themeColor("clr_statusbar_item_enter_border"));
        QCOMPARE(pixel(inside), themeColor("clr_statusbar_item_enter_bg"));
    }

    void everyItemTellsAScreenReaderItsNameAndWhatItShows_data()
    {
        QTest::addColumn<int>("clientType");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("orders") << 0 << "orders" << "执行中委托" << "10";
        QTest::newRow("tasks") << 0 << "tasks" << "执行中任务" << "3";
        QTest::newRow("strategies") << 0 << "strategies" << "执行中策略" << "0";
        QTest::newRow("messages") << 0 << "messages" << "消息提示" << "0";
        QTest::newRow("launcher") << 0 << "launcher" << "极简交易" << "";
        QTest::newRow("index before any quote") << 0 << "index" << "指数行情" << "SH000001 -- -- --";
        QTest::newRow("notices before any arrived") << 0 << "notices" << "公告" << "";
        QTest::newRow("magnifier") << 0 << "magnifier" << "缩放" << "100%";
        QTest::newRow("feedback") << 0 << "feedback" << "客服" << "";
        QTest::newRow("order switch") << 0 << "order switch" << "委托服务" << "文件单服务: 运行中";
        QTest::newRow("trade") << 0 << "trade" << "交易" << "1001: 登录成功\n1002: 登录失败";
        QTest::newRow("quote") << 0 << "quote" << "行情" << "已连接";
        QTest::newRow("quote source") << 1 << "quote source" << "行情源" << "5";
        QTest::newRow("latency") << 0 << "latency" << "网络延迟" << "12 ms";
        QTest::newRow("clock") << 0 << "clock" << "时间" << "2024/01/02 09:05:03";
    }
    void everyItemTellsAScreenReaderItsNameAndWhatItShows()
    {
        QFETCH(int, clientType);
        QFETCH(QString, item);
        QFETCH(QString, name);
        QFETCH(QString, value);
        configure({clientType, 0, false, false, true});
        getConfig()->setShowClientLauncher(true);
        COrderService::instance()->setStatusBarTip(QStringLiteral("文件单服务: 运行中"));
        const std::vector<CAccountInfoPtr> accounts{std::make_shared<CAccountInfo>("k1", "1001"), std::make_shared<CAccountInfo>("k2", "1002")};
        getUserConfig()->setAccountList(accounts);
        ShownBar shown(1900);
        CStatusBar* bar = shown.bar;
        bar->setRunningOrders(10);
        bar->setRunningTasks(3);
        bar->setNetStatus(5);
        bar->setNetSpeed(12);
        COrderService::instance()->setRunning(true);
        CQuoteClient::instance()->setHasQuoteTradeConnect(true);
        CTradeClient::instance()->reportLoginStatus(accounts[0], BROKER_LOGIN_SUCCESS, "");
        CTradeClient::instance()->reportLoginStatus(accounts[1], static_cast<EBROKER_LOGIN_STATUS>(3), "");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall); // the trade tag hears logins queued

        const QList<QWidget*> row = rowOf(*bar);
        const auto found = std::find_if(row.begin(), row.end(), [&item](QWidget* widget) { return itemName(widget) == item; });
        QVERIFY2(found != row.end(), qPrintable(item + " is not in the row"));
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(*found);
        QVERIFY(spoken);
        QCOMPARE(spoken->text(QAccessible::Name), name);
        QCOMPARE(spoken->text(QAccessible::Value), value);
        // A screen reader that asks again after the item is gone must not reach a dead widget.
        const QAccessible::Id id = QAccessible::uniqueId(spoken);
        delete bar;
        QVERIFY2(!QAccessible::accessibleInterface(id), "the item's interface outlived it");
    }

    void aScreenReaderHearsEachNewValueOnce()
    {
        CStatusBar bar(nullptr);
        heardValues().clear();
        const QAccessible::UpdateHandler before = ItemAccessibility::installUpdateHandler(&hearValueChange);
        bar.setRunningOrders(10);
        bar.setNetSpeed(12.5);
        bar.setNetSpeed(12.5); // the next reading of the same delay tells nothing new
        ItemAccessibility::installUpdateHandler(before);
        const QVector<QPair<QObject*, QString>> expected{{findItem<CRunningOrdersWidget>(&bar), QStringLiteral("10")},
                                                         {findItem<CStatusNetSpeed>(&bar), QStringLiteral("12.5 ms")}};
        QCOMPARE(heardValues(), expected);
    }

    void tabWalksTheShownItemsInRowOrderMarkingEach_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("cutAway");
        QTest::newRow("the whole row shows") << 1900 << false;
        QTest::newRow("the tickers are cut away") << 1000 << true;
    }
    void tabWalksTheShownItemsInRowOrderMarkingEach()
    {
        QFETCH(int, width);
        QFETCH(bool, cutAway);
        configure({0, 0, false, false, true});
        ShownBar shown(width);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
        // No window manager under Xvfb activates it, and only an active window passes on the focus.
        QApplication::setActiveWindow(&shown.window);
        const QList<QWidget*> row = rowOf(*shown.bar);
        QCOMPARE(std::any_of(row.begin(), row.end(), [](QWidget* w) { return shownRect(w).isEmpty(); }), cutAway);
        QList<QWidget*> expected;
        std::copy_if(row.begin(), row.end(), std::back_inserter(expected),
                     [](QWidget* w) { return !shownRect(w).isEmpty() && itemName(w) != QLatin1String("separator"); });

        expected.first()->setFocus();
        QList<QWidget*> visited;
        for (QWidget* focused = QApplication::focusWidget(); focused && !visited.contains(focused); focused = QApplication::focusWidget()) {
            visited << focused;
            // The outline runs one pixel outside the item: on its left, halfway down.
            const QColor outline = shown.bar->grab().toImage().pixelColor(focused->x() - 1, focused->y() + focused->height() / 2);
            QVERIFY2(outline == themeColor("clr_statusbar_item_focus_border"), qPrintable(itemName(focused) + " shows no focus"));
            QTest::keyClick(focused, Qt::Key_Tab);
        }
        QCOMPARE(namesOf(visited), namesOf(expected));
        QCOMPARE(visited, expected); // and no stop inside an item
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
