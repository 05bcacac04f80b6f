#include <testmain.h>

#include <eventrecorder.h>

#include <statusbar/runningcstrategywidget.h>
#include <statusbar/strategyrunningdialog.h>

#include <terminalhost/simpletextwidget.h>
#include <terminalhost/smallnormalbutton.h>
#include <terminalhost/standardtable.h>
#include <terminalhost/strategytrademanager.h>
#include <terminalhost/uiresource.h>

#include <QFontMetrics>

#include <memory>
#include <thread>

namespace {
const QString kLabelFont = QStringLiteral("fnt_default_normal_fix");
const QString kCounterFont = QStringLiteral("fnt_default_normal_heavy_fix");
const QString kFullCaption = QStringLiteral(" 执行中策略: ");
constexpr int kColumnRequestId = 3;
constexpr int kStopAllButton = 100;
constexpr int kStopButtonBase = 1000; // plus the row's id

CStrategyTradeManager* manager()
{
    return CStrategyTradeManager::instance();
}

int textWidth(const QString& text, const QString& fontKey)
{
    return QFontMetrics(CUiResource::instance()->getFont(fontKey)).horizontalAdvance(text);
}

// The caption and the counter differ by their font.
CSimpleTextWidget* textOf(const CRunningCStrategyWidget& item, const QString& fontKey)
{
    for (CSimpleTextWidget* text : item.findChildren<CSimpleTextWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (text->fontKey() == fontKey)
            return text;
    }
    return nullptr;
}

QString countShown(const CRunningCStrategyWidget& item)
{
    return textOf(item, kCounterFont)->getText();
}

CStandardTable* tableOf(const QWidget& item)
{
    return item.findChild<CStandardTable*>();
}

QStringList namesListed(const QWidget& item)
{
    const CStandardTable* table = tableOf(item);
    QStringList names;
    for (int index = 0; index < table->rowCount(); ++index)
        names << table->itemText(table->rowID(index), 0);
    return names;
}

CSmallNormalButton* buttonWithId(const QWidget& item, int id)
{
    for (CSmallNormalButton* button : item.findChildren<CSmallNormalButton*>()) {
        if (button->id() == id)
            return button;
    }
    return nullptr;
}

// The item in a shown main window with two strategies running, and its dialog open.
std::unique_ptr<QWidget> windowWithTwoStrategies()
{
    auto window = std::make_unique<QWidget>();
    window->resize(300, 24);
    new CRunningCStrategyWidget(window.get());
    window->show();
    manager()->startProcess("req-1", "网格策略");
    manager()->startProcess("req-2", "均线策略");
    window->findChild<CStrategyRunningDialog*>()->show();
    return window;
}
}

class TestRunningStrategies : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }

    void listsAndCountsEachStrategyUntilItsEndReport()
    {
        auto window = windowWithTwoStrategies();
        const auto& item = *window->findChild<CRunningCStrategyWidget*>();
        QCOMPARE(namesListed(item), (QStringList{QStringLiteral("网格策略"), QStringLiteral("均线策略")}));
        QCOMPARE(countShown(item), QStringLiteral("2"));
        const CStandardTable* table = tableOf(item);
        for (int column = 0; column <= kColumnRequestId; ++column) // name, start time, stop; the id stays hidden
            QCOMPARE(table->isColumnVisible(column), column != kColumnRequestId);
        QVERIFY(QTime::fromString(table->itemText(table->rowID(0), 1), QStringLiteral("hh:mm:ss")).isValid());

        manager()->finishProcess("req-1");
        QCOMPARE(namesListed(item), QStringList{QStringLiteral("均线策略")});
        QCOMPARE(countShown(item), QStringLiteral("1"));
        manager()->startProcess("req-2", "均线策略"); // a repeated start report counts once
        QCOMPARE(countShown(item), QStringLiteral("1"));
    }

    void aReportFromAnotherThreadIsQueuedToTheGuiThread()
    {
        CRunningCStrategyWidget item;
        std::thread host([] { manager()->startProcess("req-t", "跨线程策略"); });
        host.join();
        QVERIFY2(tableOf(item)->rowCount() == 0, "the report touched the widgets on the host thread");
        QTRY_COMPARE(countShown(item), QStringLiteral("1"));
        QCOMPARE(namesListed(item), QStringList{QStringLiteral("跨线程策略")});
    }

    void stoppingAsksTheManagerAndTheCountFollowsTheEndReports_data()
    {
        QTest::addColumn<QString>("requestId"); // empty: the stop-all button
        QTest::addColumn<QStringList>("listedAfterClick");
        QTest::addColumn<QString>("finalCount");
        QTest::newRow("one row goes at once")
            << QStringLiteral("req-1") << QStringList{QStringLiteral("均线策略")} << QStringLiteral("1");
        QTest::newRow("stop all keeps rows until the reports")
            << QString() << QStringList{QStringLiteral("网格策略"), QStringLiteral("均线策略")} << QStringLiteral("0");
    }
    void stoppingAsksTheManagerAndTheCountFollowsTheEndReports()
    {
        QFETCH(QString, requestId);
        QFETCH(QStringList, listedAfterClick);
        QFETCH(QString, finalCount);
        auto window = windowWithTwoStrategies();
        auto* item = window->findChild<CRunningCStrategyWidget*>();
        CSmallNormalButton* stop = buttonWithId(*item, requestId.isEmpty() ? kStopAllButton : kStopButtonBase + tableOf(*item)->rowID(0));
        QVERIFY2(stop, "the dialog has no such stop button");
        QTest::mouseClick(stop, Qt::LeftButton);
        QCOMPARE(manager()->stopRequests(), QStringList{requestId.isEmpty() ? QStringLiteral("*") : requestId});
        QCOMPARE(namesListed(*item), listedAfterClick);
        QCOMPARE(countShown(*item), QStringLiteral("2"));
        QTRY_COMPARE(countShown(*item), finalCount);
        QCOMPARE(tableOf(*item)->rowCount(), finalCount.toInt());
    }

    void clickingTheCounterShowsTheDialogWithoutBlockingAndClosingKeepsIt()
    {
        EventRecorder mainWindow;
        auto window = windowWithTwoStrategies();
        auto* item = window->findChild<CRunningCStrategyWidget*>();
        auto* dialog = item->findChild<CStrategyRunningDialog*>();
        dialog->close();
        QSignalSpy destroyed(dialog, &QObject::destroyed);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(destroyed.count(), 0);

        QTest::mouseClick(textOf(*item, kCounterFont), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(mainWindow.count(Event_Click), 0);
    }

    void widthFollowsTheDigitsAndTheForm()
    {
        const QString compact = QStringLiteral(" 策略: ");
        CRunningCStrategyWidget item;
        item.updateCount(9);
        QSignalSpy widened(&item, &CRunningCStrategyWidget::sigResizeRunningStrategySize);
        item.updateCount(10);
        item.updateCount(10);
        QCOMPARE(widened.count(), 1);

        item.switchToLite(true);
        QCOMPARE(textOf(item, kLabelFont)->getText(), compact);
        QCOMPARE(item.getMinWidth(), textWidth(compact, kLabelFont) + textWidth(QStringLiteral("10"), kCounterFont) + 14);
        QCOMPARE(textOf(item, kCounterFont)->x(), textWidth(compact, kLabelFont) + 12);

        item.updateCount(9); // a new count brings the full caption back and narrows the counter
        QCOMPARE(widened.count(), 1);
        QCOMPARE(textOf(item, kLabelFont)->getText(), kFullCaption);
        QCOMPARE(textOf(item, kCounterFont)->x(), textWidth(kFullCaption, kLabelFont) + 12);
        QCOMPARE(item.width(), textWidth(kFullCaption, kLabelFont) + textWidth(QStringLiteral("9"), kCounterFont) + 12);
    }
};

STATUSBAR_TEST_MAIN(TestRunningStrategies)
#include "tst_runningstrategies.moc"
