#include <testmain.h>

#include <eventrecorder.h>
#include <shownrect.h>

#include <terminalhost/basedialog.h>
#include <terminalhost/basewidget.h>
#include <terminalhost/commondialog.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/magnifierwidget.h>
#include <terminalhost/simpletext.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/pushbutton.h>
#include <terminalhost/smallnonormalbutton.h>
#include <terminalhost/smallnormalbutton.h>
#include <terminalhost/standardtableex.h>
#include <terminalhost/widgetlist.h>

#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>

#include <cmath>
#include <limits>
#include <random>

namespace {
enum ButtonKind { Push, Small, Flat, FlatOwnColours };

CButtonColor buttonColors()
{
    return CButtonColor(QStringLiteral("clr_btn_background_color"), QStringLiteral("tc_clr_depth_bottom_group_btn_hover"),
                        QStringLiteral("tc_clr_depth_bottom_group_btn_press"), QStringLiteral("tc_clr_depth_bottom_group_btn_disable"));
}

// A widget that consumes the events of one type and remembers what it saw.
class ListeningWidget : public CBaseWidget
{
public:
    ListeningWidget(int consumedType, QWidget* parent)
        : CBaseWidget(QStringLiteral("listening"), false, parent)
        , m_consumedType(consumedType)
    {
    }
    bool handleEvent(int type, int id, int, QString, void*) override
    {
        seen.append(QStringLiteral("%1/%2").arg(type).arg(id));
        return type == m_consumedType;
    }
    QStringList seen;

private:
    int m_consumedType;
};

// An item built as the bar's items are: an icon and a caption side by side inside margins. It
// consumes the clicks it hears and, when asked, acts on the press as some items do.
class ClickItem : public CBaseWidget
{
public:
    static constexpr int kCaptionId = 7;
    static constexpr int kPressEvent = 1081;

    explicit ClickItem(QWidget* parent, bool actOnPress = false)
        : CBaseWidget(QStringLiteral("click_item"), false, parent)
        , icon(new CImageWidget(0, QStringLiteral("tc_img_status_bar_orders"), this))
        , caption(new CSimpleTextWidget(false, kCaptionId, QStringLiteral("执行中委托"), this))
        , m_actOnPress(actOnPress)
    {
        icon->move(10, 2);
        caption->move(icon->geometry().right() + 12, 2);
        resize(caption->geometry().right() + 10, std::max(icon->height(), caption->height()) + 4);
    }
    bool handleEvent(int type, int id, int, QString, void*) override
    {
        seen.append(QStringLiteral("%1/%2").arg(type).arg(id));
        return type == Event_Click || type == Event_Activate;
    }
    CImageWidget* icon;
    CSimpleTextWidget* caption;
    QStringList seen;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        CBaseWidget::mousePressEvent(event);
        if (m_actOnPress && event->button() == Qt::LeftButton)
            deliverEvent(kPressEvent, 0, 0, QString(), nullptr);
    }

private:
    bool m_actOnPress = false;
};

// A plain Qt parent that counts the mouse presses its children pass on to it.
class PressCounter : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        ++presses;
        event->accept();
    }
};

// A dialog that consumes one event type and remembers everything that reached it.
class ListeningDialog : public CBaseDialog
{
public:
    ListeningDialog(int consumedType, QWidget* parent)
        : CBaseDialog(parent)
        , m_consumedType(consumedType)
    {
    }
    bool handleEvent(int type, int id, int, QString, void*) override
    {
        seen.append(QStringLiteral("%1/%2").arg(type).arg(id));
        return type == m_consumedType;
    }
    QStringList seen;

private:
    int m_consumedType;
};

// Where on a ClickItem a row of the click tests aims.
enum class Spot { Icon, Caption, LeftMargin, Gap };

QPoint spotOn(const ClickItem& item, Spot spot)
{
    const int middle = item.height() / 2;
    switch (spot) {
    case Spot::Icon:
        return item.icon->geometry().center();
    case Spot::Caption:
        return item.caption->geometry().center();
    case Spot::LeftMargin:
        return QPoint(item.icon->x() / 2, middle);
    case Spot::Gap:
        return QPoint((item.icon->geometry().right() + item.caption->x()) / 2, middle);
    }
    return {};
}

// Mouse input through the window, as the window system brings it: Qt finds the widget under the
// pointer and passes on what that widget does not use.
void clickInWindow(QWidget* window, const QPoint& at, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(window->windowHandle(), button, {}, at);
}

QWidget* fixedBox(int width, int height, QWidget* parent)
{
    auto* box = new QWidget(parent);
    box->resize(width, height);
    return box;
}
}

class TestToolkit : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }

    void eventsClimbToTheNearestAncestorThatConsumesThem()
    {
        EventRecorder mainWindow;
        ListeningWidget outer(5, nullptr);
        auto* inner = new ListeningWidget(10, &outer);
        auto* sender = new CBaseWidget(QStringLiteral("sender"), false, inner);

        QVERIFY(sender->deliverEvent(10, 7, 0, QString(), nullptr));
        QCOMPARE(inner->seen, QStringList{QStringLiteral("10/7")});
        QVERIFY(outer.seen.isEmpty());

        QVERIFY(sender->deliverEvent(5, 8, 0, QString(), nullptr));
        QCOMPARE(inner->seen.last(), QStringLiteral("5/8"));
        QCOMPARE(outer.seen, QStringList{QStringLiteral("5/8")});
        QCOMPARE(mainWindow.events().size(), 0);

        sender->deliverEvent(1198, 0, 0, QString(), nullptr);
        QCOMPARE(mainWindow.count(1198), 1);
    }

    void offeredEventsTryTheWidgetItselfFirst()
    {
        ListeningWidget parent(2, nullptr);
        ListeningWidget child(2, &parent);
        QVERIFY(child.offerEvent(2, 0, 0, QString(), nullptr));
        QCOMPARE(child.seen.size(), 1);
        QVERIFY(parent.seen.isEmpty());
    }

    void aToolTipRequestBecomesEventTypeTwo()
    {
        ListeningWidget widget(2, nullptr);
        QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
        QVERIFY(QCoreApplication::sendEvent(&widget, &help));
        QCOMPARE(widget.seen, QStringList{QStringLiteral("2/0")});
    }

    void clickingATextDeliversTypeTenWithItsIdAndText()
    {
        EventRecorder mainWindow;
        QWidget window;
        auto* text = new CSimpleTextWidget(false, 42, QStringLiteral("行情源"), &window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(mainWindow.count(10, 42), 1);
        QCOMPARE(mainWindow.events().first().text, QStringLiteral("行情源"));
    }

    void aClickAnywhereOnAnItemReachesItOnce_data()
    {
        QTest::addColumn<int>("spot");
        QTest::addColumn<QString>("heard");
        const QString onItem = QStringLiteral("10/0");
        QTest::newRow("icon") << int(Spot::Icon) << onItem;
        QTest::newRow("left margin") << int(Spot::LeftMargin) << onItem;
        QTest::newRow("gap between icon and caption") << int(Spot::Gap) << onItem;
        QTest::newRow("caption keeps its own id") << int(Spot::Caption) << QStringLiteral("10/%1").arg(ClickItem::kCaptionId);
    }
    void aClickAnywhereOnAnItemReachesItOnce()
    {
        QFETCH(int, spot);
        QFETCH(QString, heard);
        EventRecorder mainWindow;
        PressCounter window;
        window.resize(400, 100);
        auto* item = new ClickItem(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint at = item->mapToParent(spotOn(*item, Spot(spot)));
        clickInWindow(&window, at);
        QCOMPARE(item->seen, QStringList{heard});
        QCOMPARE(mainWindow.events().size(), 0);

        // A press that leaves the item before the release is no click.
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, QPoint(window.width() - 1, window.height() - 1));
        QCOMPARE(item->seen.size(), 1);
    }

    void anItemThatActsOnPressIsNotClickedAgain_data()
    {
        QTest::addColumn<int>("spot");
        QTest::newRow("icon") << int(Spot::Icon);
        QTest::newRow("caption") << int(Spot::Caption);
        QTest::newRow("left margin") << int(Spot::LeftMargin);
    }
    void anItemThatActsOnPressIsNotClickedAgain()
    {
        QFETCH(int, spot);
        EventRecorder mainWindow;
        QWidget window;
        auto* item = new ClickItem(&window, true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        clickInWindow(&window, item->mapToParent(spotOn(*item, Spot(spot))));
        QCOMPARE(mainWindow.count(ClickItem::kPressEvent), 1);
        QCOMPARE(mainWindow.count(Event_Click), 0);
        QVERIFY2(item->seen.isEmpty(), qPrintable(item->seen.join(QLatin1Char(' '))));
    }

    void theMouseEventRuleKeepsOrPassesOnWhatAWidgetDoesNotUse_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("parentPresses");
        QTest::newRow("passed on by default") << -1 << 1;
        QTest::newRow("passed on") << int(MouseRule_PassOn) << 1;
        QTest::newRow("kept") << int(MouseRule_Keep) << 0;
    }
    void theMouseEventRuleKeepsOrPassesOnWhatAWidgetDoesNotUse()
    {
        QFETCH(int, rule);
        QFETCH(int, parentPresses);
        EventRecorder mainWindow;
        PressCounter window;
        auto* item = new ClickItem(&window);
        if (rule >= 0)
            item->setMouseEventRule(rule);
        QCOMPARE(item->mouseEventRule(), rule >= 0 ? rule : int(MouseRule_PassOn));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // A right press on the caption: neither the caption nor the item uses it.
        clickInWindow(&window, item->mapToParent(spotOn(*item, Spot::Caption)), Qt::RightButton);
        QCOMPARE(window.presses, parentPresses);
        // Whatever the rule, the item's own clicks still reach it.
        clickInWindow(&window, item->mapToParent(spotOn(*item, Spot::Gap)));
        QCOMPARE(item->seen, QStringList{QStringLiteral("10/0")});
    }

    void tabReachesTheItemsOfARowAndReturnOrSpaceActivatesThem_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void tabReachesTheItemsOfARowAndReturnOrSpaceActivatesThem()
    {
        QFETCH(int, key);
        EventRecorder mainWindow;
        QWidget window;
        auto* field = new QLineEdit(&window);
        auto* row = new CWidgetList(Qt::Horizontal, &window);
        row->setGeometry(0, 40, 400, 24);
        auto* first = new ClickItem(row);
        auto* separator = new CImageWidget(0, QStringLiteral("img_toolbar_seperator"), row);
        auto* second = new ClickItem(row);
        row->addFixedWidget(first, Anchor_Fill, false);
        row->addFixedWidget(separator, Anchor_Fill, false);
        row->addFixedWidget(second, Anchor_Fill, false);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(first->hasFocus(), qPrintable(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString()));
        QTest::keyClick(first, Qt::Key(key));
        QCOMPARE(first->seen, QStringList{QStringLiteral("5/0")});

        // The separator is passed over.
        QTest::keyClick(first, Qt::Key_Tab);
        QVERIFY(second->hasFocus());
        QVERIFY(separator->focusPolicy() == Qt::NoFocus);
        QTest::keyClick(second, Qt::Key(key));
        QCOMPARE(second->seen, QStringList{QStringLiteral("5/0")});
        QCOMPARE(mainWindow.events().size(), 0);

        // A click acts without taking the focus from where the keyboard left it.
        clickInWindow(&window, first->mapTo(&window, spotOn(*first, Spot::Gap)));
        QVERIFY(second->hasFocus());
        QCOMPARE(first->seen.last(), QStringLiteral("10/0"));
    }

    void aDialogHearsItsWidgetsEventsAndPassesOnTheRest()
    {
        EventRecorder mainWindow;
        ListeningWidget owner(Event_ToolTip, nullptr);
        auto* dialog = new ListeningDialog(Event_Activate, &owner);
        auto* sender = new CBaseWidget(QStringLiteral("sender"), false, dialog);

        QVERIFY(sender->deliverEvent(Event_Activate, 3, 0, QString(), nullptr));
        QCOMPARE(dialog->seen, QStringList{QStringLiteral("5/3")});
        QVERIFY(owner.seen.isEmpty());

        QVERIFY(sender->deliverEvent(Event_ToolTip, 0, 0, QString(), nullptr));
        QCOMPARE(owner.seen, QStringList{QStringLiteral("2/0")});
        sender->deliverEvent(Event_Click, 4, 0, QString(), nullptr);
        QCOMPARE(mainWindow.count(Event_Click, 4), 1);
        QCOMPARE(dialog->seen.size(), 3);

        // The titled dialog frame is such a dialog too.
        CCommonDialog common(nullptr);
        auto* inner = new CBaseWidget(QStringLiteral("inner"), false, nullptr);
        common.setInnerWidget(inner);
        QCOMPARE(dynamic_cast<CEventDeliverer*>(static_cast<CBaseDialog*>(&common)), static_cast<CEventDeliverer*>(&common));
        inner->deliverEvent(Event_Click, 9, 0, QString(), nullptr);
        QCOMPARE(mainWindow.count(Event_Click, 9), 1);
    }

    void aTextWidgetSizesItselfToItsText()
    {
        CSimpleTextWidget text(false, 0, QString(), nullptr);
        text.setFontKey(QStringLiteral("fnt_default_normal"));
        text.setText(QStringLiteral("12345"), 100000);
        QCOMPARE(text.size(), CSimpleText::getSize(QStringLiteral("12345"), QStringLiteral("fnt_default_normal")));
        text.setText(QStringLiteral("12345"), 10);
        QCOMPARE(text.width(), 10);
    }

    void aListLaysFixedWidgetsInOrderAndGivesTheRestToTheStretch()
    {
        CWidgetList list(Qt::Horizontal, nullptr);
        list.setSpacing(2);
        list.setMargin(3, 3, 3, 3);
        list.resize(300, 24);
        QWidget* first = fixedBox(40, 10, &list);
        QWidget* hidden = fixedBox(50, 24, &list);
        QWidget* last = fixedBox(30, 18, &list);
        list.addFixedSpace(7);
        list.addFixedWidget(first, Anchor_Fill, false);
        list.addFixedWidget(hidden, Anchor_Fill, false);
        list.addStretchSpace(1);
        list.addFixedWidget(last, Anchor_Center, false);
        hidden->hide();
        list.updateWidgetLength();

        // A filling widget spans the list's full height, margins aside.
        QCOMPARE(first->geometry(), QRect(3 + 7 + 2, 0, 40, 24));
        // The stretch pushes the last widget against the right margin; the hidden one takes no room.
        QCOMPARE(last->geometry(), QRect(300 - 3 - 30, 3 + (24 - 6 - 18) / 2, 30, 18));

        last->resize(60, 18);
        list.updateWidgetLength();
        QCOMPARE(last->x(), 300 - 3 - 60);
    }

    void aRowTooLongKeepsItsEndWholeAndHidesWhatNoLongerFitsBeforeIt()
    {
        CWidgetList list(Qt::Horizontal, nullptr);
        list.setSpacing(2);
        list.setMargin(3, 3, 3, 3);
        list.resize(200, 24);
        QWidget* whole = fixedBox(60, 24, &list);
        QWidget* cut = fixedBox(80, 24, &list);
        QWidget* gone = fixedBox(50, 24, &list);
        QWidget* end = fixedBox(70, 24, &list);
        for (QWidget* widget : {whole, cut, gone})
            list.addFixedWidget(widget, Anchor_Fill, false);
        list.addStretchSpace(1);
        list.addFixedWidget(end, Anchor_Fill, false);
        list.updateWidgetLength();

        // The end keeps to the right margin; before it shows only what fits whole.
        QCOMPARE(shownRect(end), QRect(200 - 3 - 70, 0, 70, 24));
        QCOMPARE(shownRect(whole), QRect(3, 0, 60, 24));
        QVERIFY(shownRect(cut).isEmpty());
        QVERIFY(shownRect(gone).isEmpty());
        // Every widget keeps its own width, so a wider list shows them whole again.
        QCOMPARE(cut->width(), 80);
        list.resize(400, 24);
        list.updateWidgetLength();
        for (QWidget* widget : {whole, cut, gone, end})
            QCOMPARE(shownRect(widget), widget->geometry());
    }

    void theMagnifierStepsTheZoomAndAnnouncesIt()
    {
        EventRecorder mainWindow;
        QWidget window;
        auto* magnifier = new CMagnifierWidget(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(magnifier, Qt::LeftButton, {}, magnifier->plusRect().center());
        QCOMPARE(magnifier->fontScale(), 110);
        QCOMPARE(mainWindow.count(57), 1);
        QCOMPARE(mainWindow.events().last().arg, 110);

        magnifier->setFontScale(CMagnifierWidget::kMinPercent, false);
        QTest::mouseClick(magnifier, Qt::LeftButton, {}, magnifier->minusRect().center());
        QCOMPARE(magnifier->fontScale(), CMagnifierWidget::kMinPercent);
        QCOMPARE(mainWindow.count(57), 1);
    }

    void tableRowsKeepTheirIdsWhereverTheyAreAddedAndWhileOthersGo()
    {
        CStandardTableEx table(0, nullptr);
        table.setColumnCount(2);
        const int first = table.prependRow();
        const int second = table.prependRow();
        const int third = table.appendRow();
        QCOMPARE((QList<int>{table.rowID(0), table.rowID(1), table.rowID(2)}), (QList<int>{second, first, third}));
        table.setItemText(first, 1, QStringLiteral("普通"), true);
        table.setItemTextColorKey(second, 1, QStringLiteral("tc_clr_deptch_order_queue_price_rise"), true);
        QCOMPARE(table.itemText(first, 1), QStringLiteral("普通"));
        QCOMPARE(table.view()->item(0, 1)->foreground().color(),
                 CUiResource::instance()->getColor(QStringLiteral("tc_clr_deptch_order_queue_price_rise")));
        QCOMPARE(table.itemTextColorKey(first, 1), QString());
        table.removeRow(first);
        table.removeRow(first); // already gone
        QCOMPARE((QList<int>{table.rowID(0), table.rowID(1), table.rowID(2)}), (QList<int>{second, third, -1}));
        QCOMPARE(table.itemText(third, 1), QString());
        QCOMPARE(table.appendRow(), third + 1);
        table.clear();
        QCOMPARE(table.rowCount(), 0);
        QCOMPARE(table.prependRow(), 0);
        QCOMPARE(table.itemText(0, 1), QString());
    }

    void buttonsFillWithTheColourOfTheirStateAndClickOnAReleaseInside_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("keys"); // at rest, under the pointer, pressed
        const CButtonColor own = buttonColors();
        QTest::newRow("push button") << int(Push) << QStringList{own.background, own.hover, own.pressed};
        QTest::newRow("small button") << int(Small)
                                      << QStringList{"clr_button_background", "clr_button_hover_background", "clr_button_pressed_background"};
        QTest::newRow("flat button") << int(Flat) << QStringList{QString(), "clr_button_hover_background", "clr_button_pressed_background"};
        QTest::newRow("flat button, own colours") << int(FlatOwnColours) << QStringList{QString(), own.hover, own.pressed};
    }
    void buttonsFillWithTheColourOfTheirStateAndClickOnAReleaseInside()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, keys);
        EventRecorder mainWindow;
        QWidget window;
        const CButtonColor own = buttonColors();
        CBaseButton* button = kind == Push ? static_cast<CBaseButton*>(new CPushButton(own, 1007, &window))
            : kind == Small                ? new CSmallNormalButton(1007, false, 1, &window)
                                           : new CSmallNoNormalButton(1007, false, &window, kind == FlatOwnColours ? &own : nullptr);
        button->setText(QStringLiteral("停止"));
        button->resize(40, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(button->backgroundKey(), keys.at(0));
        if (!keys.at(0).isEmpty())
            QCOMPARE(button->grab().toImage().pixelColor(3, 12), CUiResource::instance()->getColor(keys.at(0)));
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(button, &enter);
        QCOMPARE(button->backgroundKey(), keys.at(1));
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
        QCOMPARE(button->backgroundKey(), keys.at(2));
        // A press that leaves the button before the release clicks nothing.
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(mainWindow.count(Event_Activate), 0);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QCOMPARE(mainWindow.count(Event_Activate, 1007), 1);
        QCOMPARE(mainWindow.events().at(0).text, QStringLiteral("停止"));
    }

    void aSmallButtonIsAsWideAsItsText()
    {
        CSmallNormalButton button(0, false, 1, nullptr);
        button.setText(QStringLiteral("停止"));
        QCOMPARE(button.width(), CSimpleText::getSize(QStringLiteral("停止"), QStringLiteral("fnt_default_normal_fix")).width() + 16);
    }

    void numbersAreFormattedAsPlainDecimals_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("fraction") << 12.5 << "12.5";
        QTest::newRow("whole") << 30.0 << "30";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("negative") << -1.25 << "-1.25";
        QTest::newRow("binary noise") << 0.1 + 0.2 << "0.3";
        QTest::newRow("large, no exponent") << 12345678.0 << "12345678";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "0";
        QTest::newRow("a half at the seventh decimal rounds away from zero") << 0.0078125 << "0.007813";
        QTest::newRow("and so below zero") << -12345.0078125 << "-12345.007813";
        QTest::newRow("a hair below a half rounds down") << 0.0000024999999999 << "0.000002";
        QTest::newRow("a hair above a half rounds up") << 0.0000025000000001 << "0.000003";
        QTest::newRow("a tiny negative is zero") << -0.0000001 << "0";
        QTest::newRow("rounding carries into the whole part") << 1.9999996 << "2";
        QTest::newRow("just below the fast range") << 999999999.999999 << "999999999.999999";
        QTest::newRow("rounding up to its edge") << 999999999.9999996 << "1000000000";
        QTest::newRow("beyond it") << 123456789012.25 << "123456789012.25";
    }
    void numbersAreFormattedAsPlainDecimals()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(formatDoubleNumber(value), text);
    }

    // The chart page's JSON must not change by a character: the formatter renders every double as
    // Qt's fixed six-decimal form, trimmed, does.
    void numbersMatchQtsFixedRendering()
    {
        std::mt19937_64 random(20240601u);
        std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
        std::uniform_int_distribution<int> exponent(-9, 12);
        char buffer[kDoubleNumberCapacity];
        for (int i = 0; i < 200000; ++i) {
            // Every eighth value is an exact binary fraction, where halves at the seventh decimal lie.
            const double value = i % 8 == 0 ? std::round(mantissa(random) * 1e9) / 128.0
                                            : mantissa(random) * std::pow(10.0, exponent(random));
            QString expected = QString::number(value, 'f', 6);
            while (expected.endsWith(QLatin1Char('0')))
                expected.chop(1);
            if (expected.endsWith(QLatin1Char('.')))
                expected.chop(1);
            if (expected == QLatin1String("-0"))
                expected = QStringLiteral("0");
            const QString written = QString::fromLatin1(buffer, writeDoubleNumber(value, buffer));
            if (written != expected || formatDoubleNumber(value) != expected)
                QFAIL(qPrintable(QStringLiteral("%1: %2 instead of %3").arg(value, 0, 'g', 17).arg(written, expected)));
        }
    }

    void hostTextsRoundTripThroughUtf8()
    {
        const std::string bytes = qsToS(QStringLiteral("交易服务器"));
        QCOMPARE(sToQs(bytes), QStringLiteral("交易服务器"));
    }
};

STATUSBAR_TEST_MAIN(TestToolkit)
#include "tst_toolkit.moc"
