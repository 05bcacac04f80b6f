#include <testmain.h>

#include <eventrecorder.h>
#include <finditem.h>

#include <statusbar/quoteconnectstatuswidget.h>
#include <statusbar/runningorderswidget.h>
#include <statusbar/statusbar.h>
#include <statusbar/statusbarevents.h>

#include <terminalhost/appconfig.h>
#include <terminalhost/userconfig.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/simpletextwidget.h>

#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace {
constexpr int kWindowWidth = 1380;

// Where on an item a click lands: on its icon, on one of its texts (by their order from the left),
// in its left margin, or in the gap between its first and second text.
enum class Spot { Icon, FirstText, SecondText, LeftMargin, GapBetweenTexts };

// A terminal window with a field above the status bar, as the keyboard meets it.
struct Window {
    QWidget widget;
    QLineEdit* field = nullptr;
    CStatusBar* bar = nullptr;

    Window()
    {
        auto* layout = new QVBoxLayout(&widget);
        layout->setContentsMargins(0, 0, 0, 0);
        field = new QLineEdit(&widget);
        bar = new CStatusBar(&widget);
        layout->addWidget(field);
        layout->addWidget(bar);
        widget.resize(kWindowWidth, 80);
    }
    bool show()
    {
        widget.show();
        if (!QTest::qWaitForWindowExposed(&widget))
            return false;
        QApplication::setActiveWindow(&widget);
        return true;
    }
    void clickAt(QWidget* item, const QPoint& at)
    {
        QTest::mouseClick(widget.windowHandle(), Qt::LeftButton, {}, item->mapTo(&widget, at));
    }
};

QList<CSimpleTextWidget*> textsLeftToRight(const QWidget* item)
{
    QList<CSimpleTextWidget*> texts;
    for (CSimpleTextWidget* text : item->findChildren<CSimpleTextWidget*>()) {
        if (text->isVisible())
            texts << text;
    }
    std::sort(texts.begin(), texts.end(), [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
    return texts;
}

QPoint spotOn(const QWidget* item, Spot spot)
{
    const QList<CSimpleTextWidget*> texts = textsLeftToRight(item);
    const auto* icon = item->findChild<CImageWidget*>();
    const int middle = item->height() / 2;
    switch (spot) {
    case Spot::Icon:
        return icon ? icon->geometry().center() : QPoint(-1, -1);
    case Spot::FirstText:
        return texts.value(0) ? texts[0]->geometry().center() : QPoint(-1, -1);
    case Spot::SecondText:
        return texts.value(1) ? texts[1]->geometry().center() : QPoint(-1, -1);
    case Spot::LeftMargin:
        return QPoint(3, middle);
    case Spot::GapBetweenTexts:
        return texts.size() < 2 ? QPoint(-1, -1) : QPoint(texts[0]->geometry().right() + 1, middle);
    }
    return {};
}

// Is the point on the item itself and on none of its children?
bool onItemOnly(const QWidget* item, const QPoint& at)
{
    return item->rect().contains(at) && !item->childAt(at);
}
}

class TestEventRoutes : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }

    void aClickAnywhereOnTheOrdersCounterOpensTheRunningOrdersOnce_data()
    {
        QTest::addColumn<int>("spot");
        QTest::newRow("icon") << int(Spot::Icon);
        QTest::newRow("caption") << int(Spot::FirstText);
        QTest::newRow("number") << int(Spot::SecondText);
        QTest::newRow("left margin") << int(Spot::LeftMargin);
        QTest::newRow("gap between caption and number") << int(Spot::GapBetweenTexts);
    }
    void aClickAnywhereOnTheOrdersCounterOpensTheRunningOrdersOnce()
    {
        QFETCH(int, spot);
        EventRecorder mainWindow;
        Window window;
        QVERIFY(window.show());
        auto* orders = findItem<CRunningOrdersWidget>(window.bar);
        QVERIFY(orders);
        const QPoint at = spotOn(orders, Spot(spot));
        QVERIFY2(orders->rect().contains(at), "the spot is not on the item");
        if (Spot(spot) == Spot::LeftMargin || Spot(spot) == Spot::GapBetweenTexts)
            QVERIFY2(onItemOnly(orders, at), "the spot is on a child, not on the item's own area");

        window.clickAt(orders, at);
        // The item took the click (type 10) and asked the main window for its view, once.
        QCOMPARE(mainWindow.count(StatusBarEvent::RunningOrders), 1);
        QCOMPARE(mainWindow.count(Event_Click), 0);
        QCOMPARE(mainWindow.events().size(), 1);
    }

    void anItemThatAsksOnPressAsksOnceWhereverItIsClicked_data()
    {
        QTest::addColumn<int>("spot");
        QTest::newRow("icon") << int(Spot::Icon);
        QTest::newRow("count") << int(Spot::FirstText);
        QTest::newRow("label") << int(Spot::SecondText);
        QTest::newRow("left margin") << int(Spot::LeftMargin);
    }
    void anItemThatAsksOnPressAsksOnceWhereverItIsClicked()
    {
        QFETCH(int, spot);
        CAppConfig::setClientType(1); // the quote client shows the quote source count
        // Without the market tickers the row fits the window with every item in its full form.
        getUserConfig()->setSimpledModelLogin(true);
        EventRecorder mainWindow;
        Window window;
        QVERIFY(window.show());
        auto* sources = findItem<CQuoteConnectStatusWidget>(window.bar);
        QVERIFY(sources);
        const QPoint at = spotOn(sources, Spot(spot));
        QVERIFY2(sources->rect().contains(at), "the spot is not on the item");

        window.clickAt(sources, at);
        QCOMPARE(mainWindow.count(StatusBarEvent::QuoteSources), 1);
        QCOMPARE(mainWindow.events().size(), 1);
    }

    void tabReachesTheQuoteSourceCountAndReturnOrSpaceAsksForTheSources_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void tabReachesTheQuoteSourceCountAndReturnOrSpaceAsksForTheSources()
    {
        QFETCH(int, key);
        CAppConfig::setClientType(1);
        EventRecorder mainWindow;
        Window window;
        QVERIFY(window.show());
        auto* sources = findItem<CQuoteConnectStatusWidget>(window.bar);
        QVERIFY(sources);
        window.field->setFocus();
        QTRY_VERIFY(window.field->hasFocus());

        // Tab walks along the row's items, passing over the separators, until it reaches the count.
        QStringList visited;
        for (int step = 0; step < 30 && !sources->hasFocus(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focused = QApplication::focusWidget();
            QVERIFY(focused);
            QVERIFY2(!qobject_cast<CImageWidget*>(focused), "a separator took the focus");
            visited << QString::fromLatin1(focused->metaObject()->className());
        }
        QVERIFY2(sources->hasFocus(), qPrintable(visited.join(QLatin1Char(' '))));
        QVERIFY2(visited.size() > 1, "the count was the first stop: no item before it was reached");
        QTest::keyClick(sources, Qt::Key(key));
        QCOMPARE(mainWindow.count(StatusBarEvent::QuoteSources), 1);
    }

    void aClickDoesNotMoveTheKeyboardFocus()
    {
        CAppConfig::setClientType(1);
        EventRecorder mainWindow;
        Window window;
        QVERIFY(window.show());
        window.field->setFocus();
        QTRY_VERIFY(window.field->hasFocus());
        auto* sources = findItem<CQuoteConnectStatusWidget>(window.bar);
        QVERIFY(sources);
        window.clickAt(sources, spotOn(sources, Spot::LeftMargin));
        QCOMPARE(mainWindow.count(StatusBarEvent::QuoteSources), 1);
        QVERIFY(window.field->hasFocus());
    }
};

STATUSBAR_TEST_MAIN(TestEventRoutes)
#include "tst_eventroutes.moc"
