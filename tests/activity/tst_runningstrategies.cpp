#include <testmain.h>

#include <eventrecorder.h>

#include <runningcstrategywidget.h>
#include <strategyrunningdialog.h>

#include <simpletextwidget.h>
#include <smallnormalbutton.h>
#include <standardtable.h>
#include <strategytrademanager.h>
#include <uiresource.h>

#include <QDir>
#include <QFontMetrics>

#include <memory>
#include <thread>

namespace {
const QString kLabelFont = QStringLiteral("fnt_default_normal_fix");
const QString kCounterFont = QStringLiteral("fnt_default_normal_heavy_fix");
const QString kFullCaption = QStringLiteral(" 执行中策略: ");
constexpr int kColumnRequestId = 3;

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

// The dialog's table, from the item or from the dialog itself.
CStandardTable* tableOf(const QWidget& root)
{
    return root.findChild<CStandardTable*>();
}

QStringList namesListed(const QWidget& item)
{
    const CStandardTable* table = tableOf(item);
    QStringList names;
    for (int index = 0; index < table->rowCount(); ++index)
        names << table->itemText(table->rowID(index), 0);
    return names;
}

// The stop button of the row listing requestId, or the stop-all button for an empty id.
CSmallNormalButton* stopButton(const CRunningCStrategyWidget& item, const QString& requestId = QString())
{
    const CStandardTable* table = tableOf(item);
    for (CSmallNormalButton* button : item.findChildren<CSmallNormalButton*>()) {
        const bool stopAll = button->id() == 100;
        if (requestId.isEmpty() ? stopAll : !stopAll && table->itemText(button->id() - 1000, kColumnRequestId) == requestId)
            return button;
    }
    return nullptr;
}

// The item in a shown main window with two strategies running, and its dialog open.
std::unique_ptr<QWidget> windowWithTwoStrategies(const std::string& first = "网格策略", const std::string& second = "均线策略")
{
    auto window = std::make_unique<QWidget>();
    window->resize(300, 24);
    auto* item = new CRunningCStrategyWidget(window.get());
    item->resize(item->getMaxWidth(), 24);
    window->show();
    manager()->startProcess("req-1", first);
    manager()->startProcess("req-2", second);
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
        CRunningCStrategyWidget item;
        manager()->startProcess("req-1", "网格策略");
        manager()->startProcess("req-2", "均线策略");
        QCOMPARE(namesListed(item), (QStringList{QStringLiteral("网格策略"), QStringLiteral("均线策略")}));
        QCOMPARE(countShown(item), QStringLiteral("2"));
        manager()->finishProcess("req-1");
        QCOMPARE(namesListed(item), QStringList{QStringLiteral("均线策略")});
        QCOMPARE(countShown(item), QStringLiteral("1"));
        // A second start report of the same process adds a row but no count.
        item.slotsProcessStatus("req-2", "均线策略", true);
        QCOMPARE(tableOf(item)->rowCount(), 2);
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

    void stoppingARowRemovesItAtOnceAndTheCountFollowsTheEndReport()
    {
        auto window = windowWithTwoStrategies();
        auto* item = window->findChild<CRunningCStrategyWidget*>();
        CSmallNormalButton* stop = stopButton(*item, QStringLiteral("req-1"));
        QVERIFY2(stop, "the row of req-1 has no stop button");
        QCOMPARE(stop->text(), QStringLiteral("停止"));
        QTest::mouseClick(stop, Qt::LeftButton);
        QCOMPARE(namesListed(*item), QStringList{QStringLiteral("均线策略")});
        QCOMPARE(manager()->stopRequests(), QStringList{QStringLiteral("req-1")});
        QCOMPARE(countShown(*item), QStringLiteral("2"));
        QTRY_COMPARE(countShown(*item), QStringLiteral("1"));
    }

    void stopAllAsksTheManagerAndKeepsRowsUntilTheEndReports()
    {
        auto window = windowWithTwoStrategies();
        auto* item = window->findChild<CRunningCStrategyWidget*>();
        CSmallNormalButton* stopAll = stopButton(*item);
        QVERIFY2(stopAll && stopAll->text() == QStringLiteral("全部停止"), "the dialog has no stop-all button");
        QTest::mouseClick(stopAll, Qt::LeftButton);
        QCOMPARE(manager()->stopRequests(), QStringList{QStringLiteral("*")});
        QCOMPARE(tableOf(*item)->rowCount(), 2);
        QTRY_COMPARE(countShown(*item), QStringLiteral("0"));
        QCOMPARE(tableOf(*item)->rowCount(), 0);
    }

    void stoppingARowWithoutRequestIdRemovesItAndStopsNothing()
    {
        CStrategyRunningDialog dialog;
        QSignalSpy removed(&dialog, &CStrategyRunningDialog::sigStrategyRemove);
        dialog.addStrategy(QString(), QStringLiteral("无编号策略"));
        QVERIFY(dialog.handleEvent(5, tableOf(dialog)->rowID(0) + 1000, 0, QString(), nullptr));
        QCOMPARE(tableOf(dialog)->rowCount(), 0);
        QCOMPARE(removed.count(), 0);
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
        QVERIFY(!dialog->isVisible());

        QTest::mouseClick(textOf(*item, kCounterFont), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(mainWindow.count(10), 0);
        QCOMPARE(item->findChildren<CStrategyRunningDialog*>().size(), 1);
    }

    void dialogListsNameTimeAndStopButtonAndHidesTheRequestId()
    {
        auto window = windowWithTwoStrategies("网格交易策略", "均线突破策略");
        auto* item = window->findChild<CRunningCStrategyWidget*>();
        auto* dialog = item->findChild<CStrategyRunningDialog*>();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        CStandardTable* table = tableOf(*item);
        const QStringList headers{QStringLiteral("名称"), QStringLiteral("开始时间"), QStringLiteral("操作"), QStringLiteral("请求ID")};
        for (int column = 0; column < headers.size(); ++column) {
            QCOMPARE(table->headerText(column), headers.at(column));
            QCOMPARE(table->isColumnVisible(column), column != kColumnRequestId);
        }
        QVERIFY(QTime::fromString(table->itemText(table->rowID(0), 1), QStringLiteral("hh:mm:ss")).isValid());
        QVERIFY(dialog->width() >= 500 && dialog->height() >= 400);
        QTRY_VERIFY2(table->width() == dialog->width(), qPrintable(QStringLiteral("table %1 px wide").arg(table->width())));
        const CSmallNormalButton* first = stopButton(*item, QStringLiteral("req-1"));
        const CSmallNormalButton* second = stopButton(*item, QStringLiteral("req-2"));
        QTRY_VERIFY(first->isVisible() && second->isVisible());
        const QRect firstRect(first->mapTo(dialog, QPoint(0, 0)), first->size());
        const QRect secondRect(second->mapTo(dialog, QPoint(0, 0)), second->size());
        QVERIFY2(!firstRect.intersects(secondRect), "the two stop buttons overlap");
        QVERIFY(dialog->rect().contains(firstRect.united(secondRect)));
        QVERIFY(first->width() > textWidth(QStringLiteral("停止"), kLabelFont));
        QVERIFY(dialog->grab().save(QDir::current().filePath(QStringLiteral("strategy_dialog.png"))));
    }

    void counterWidensOnceWhenTheCountGainsADigit()
    {
        CRunningCStrategyWidget item;
        item.updateCount(9);
        QSignalSpy widened(&item, &CRunningCStrategyWidget::sigResizeRunningStrategySize);
        item.updateCount(10);
        item.updateCount(10);
        item.updateCount(9);
        QCOMPARE(widened.count(), 1);
        QCOMPARE(textOf(item, kCounterFont)->width(), textWidth(QStringLiteral("9"), kCounterFont));
    }

    void eachFormMeasuresItsCaptionAndANewCountRestoresTheFullOne_data()
    {
        QTest::addColumn<bool>("lite");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("extra");
        QTest::newRow("full") << false << kFullCaption << 12;
        QTest::newRow("compact") << true << QStringLiteral(" 策略: ") << 14;
    }
    void eachFormMeasuresItsCaptionAndANewCountRestoresTheFullOne()
    {
        QFETCH(bool, lite);
        QFETCH(QString, caption);
        QFETCH(int, extra);
        QWidget bar;
        auto& item = *new CRunningCStrategyWidget(&bar);
        bar.show();
        item.updateCount(25);
        item.switchToLite(lite);
        const int width = lite ? item.getMinWidth() : item.getMaxWidth();
        item.resize(width, 24);
        const int captionWidth = textWidth(caption, kLabelFont);
        QCOMPARE(textOf(item, kLabelFont)->getText(), caption);
        QCOMPARE(width, captionWidth + textWidth(QStringLiteral("25"), kCounterFont) + extra);
        QCOMPARE(textOf(item, kLabelFont)->pos(), QPoint(10, (24 - textOf(item, kLabelFont)->height()) / 2));
        QCOMPARE(textOf(item, kCounterFont)->x(), captionWidth + 12);

        item.updateCount(3);
        QCOMPARE(textOf(item, kLabelFont)->getText(), kFullCaption);
        QCOMPARE(item.width(), textWidth(kFullCaption, kLabelFont) + textWidth(QStringLiteral("3"), kCounterFont) + 12);
        QCOMPARE(textOf(item, kCounterFont)->x(), textWidth(kFullCaption, kLabelFont) + 12);
    }
};

STATUSBAR_TEST_MAIN(TestRunningStrategies)
#include "tst_runningstrategies.moc"
