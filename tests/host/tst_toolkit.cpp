#include <testmain.h>

#include <eventrecorder.h>

#include <terminalhost/basewidget.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/magnifierwidget.h>
#include <terminalhost/simpletext.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/smallnormalbutton.h>
#include <terminalhost/standardtable.h>
#include <terminalhost/widgetlist.h>

#include <QHelpEvent>

#include <cmath>
#include <limits>

namespace {
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

    void tableRowsKeepTheirIdsWhileOthersGo()
    {
        CStandardTable table(0, nullptr, CStandardTable::Flag_All);
        table.setColumnCount(2);
        const int first = table.appendRow();
        const int second = table.appendRow();
        const int third = table.appendRow();
        table.setItemText(second, 1, QStringLiteral("B"), true);
        table.setItemText(third, 1, QStringLiteral("C"), true);
        table.removeRow(first);
        QCOMPARE(table.rowCount(), 2);
        QCOMPARE(table.rowID(0), second);
        QCOMPARE(table.itemText(table.rowID(1), 1), QStringLiteral("C"));
        table.removeRow(first); // already gone
        QCOMPARE(table.rowCount(), 2);
        QCOMPARE(table.rowID(2), -1);
        QVERIFY(table.appendRow() != first);
    }

    void tableColumnsCanBeHiddenAndCellsHoldWidgets()
    {
        CStandardTable table(0, nullptr, CStandardTable::Flag_All);
        table.setColumnCount(4);
        table.setHeaderText(3, QStringLiteral("请求ID"));
        table.setColumnVisible(3, false);
        QVERIFY(!table.isColumnVisible(3));
        QVERIFY(table.isColumnVisible(2));
        const int row = table.appendRow();
        auto* button = new CSmallNormalButton(row + 1000, false, 1, &table);
        table.setItemWidget(row, 2, button, Qt::AlignCenter, true);
        QCOMPARE(table.itemWidget(row, 2), button);
        QSignalSpy destroyed(button, &QObject::destroyed);
        table.removeRow(row);
        QTRY_COMPARE(destroyed.count(), 1);
    }

    void aButtonClickDeliversItsId()
    {
        EventRecorder mainWindow;
        QWidget window;
        auto* button = new CSmallNormalButton(1007, false, 1, &window);
        button->setText(QStringLiteral("停止"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(button->width(), CSimpleText::getSize(QStringLiteral("停止"), QStringLiteral("fnt_default_normal_fix")).width() + 16);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QCOMPARE(mainWindow.count(5, 1007), 1);
        // A press that leaves the button before the release clicks nothing.
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(mainWindow.count(5, 1007), 1);
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
    }
    void numbersAreFormattedAsPlainDecimals()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(formatDoubleNumber(value), text);
    }

    void groupingIsOnlyAddedWhenAskedFor()
    {
        QCOMPARE(formatDoubleNumber(1234567.5, FormatDouble_Grouping), QStringLiteral("1,234,567.5"));
    }

    void hostTextsRoundTripThroughUtf8()
    {
        const std::string bytes = qsToS(QStringLiteral("交易服务器"));
        QCOMPARE(sToQs(bytes), QStringLiteral("交易服务器"));
    }
};

STATUSBAR_TEST_MAIN(TestToolkit)
#include "tst_toolkit.moc"
