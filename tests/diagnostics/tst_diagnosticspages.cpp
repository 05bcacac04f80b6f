#include <testmain.h>

#include <modaldialog.h>

#include <statusbar/memanalysisdialog.h>
#include <statusbar/objectnummonitordialog.h>
#include <statusbar/performmonitordialog.h>
#include <statusbar/quoteranalysisdialog.h>

#include <terminalhost/countedobject.h>
#include <terminalhost/formulamanager.h>
#include <terminalhost/messagebox.h>
#include <terminalhost/processmemory.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/smallnormalbutton.h>
#include <terminalhost/standardhpftable.h>
#include <terminalhost/standardtabcontrol.h>
#include <terminalhost/standardtable.h>
#include <terminalhost/stockmanager.h>
#include <terminalhost/strategytrademanager.h>
#include <terminalhost/tradedata.h>
#include <terminalhost/typemanager.h>
#include <terminalhost/userconfig.h>
#include <terminalhost/vscrollwidgetlist.h>

#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

/// A record type of this test's own, so that its counts move only with what the test does.
struct PageTestRecord : private TCountedObject<PageTestRecord> {
};

namespace {
constexpr long long kTradeDate = 20240605;
enum QuoteColumn { ColSource, ColPushSettings, ColNeedFullPush, ColFullPushOpen, ColFullPushCodes, ColSingleCodes };
enum MemoryColumn { ColName, ColSize, ColOperation };

TSMetaInfo snapshotMeta(const std::string& code)
{
    TSMetaInfo meta;
    meta.market = code.substr(0, 2);
    meta.code = code.substr(2);
    meta.metaId = MetaId_Snapshot;
    return meta;
}

void subscribe(int type, const std::string& code, bool fromFullPush)
{
    const long long id = CFormulaManager::instance()->subscribeQuoter(EProxyType(type), snapshotMeta(code), TRegionInfo(), DataDemand_Push,
                                                                      fromFullPush, [](int, int, const std::vector<QuoterBasePtr>&) {});
    QVERIFY(id > 0);
}

/// Three codes taken from the full push and two subscribed singly, on one quote source type.
void subscribeThreeAndTwo(int type)
{
    QuoterPushSettings settings;
    settings.fullPushOpen = true;
    CFormulaManager::instance()->setPushSettings(type, settings);
    for (const char* code : {"SH600901", "SH601288", "SZ000652"})
        subscribe(type, code, true);
    for (const char* code : {"SZ300417", "SZ002508"})
        subscribe(type, code, false);
}

QString buttonText(const CStandardTable* table, int row, int column)
{
    const QWidget* cell = table->itemWidget(table->rowID(row), column);
    const auto* button = cell ? cell->findChild<CSmallNormalButton*>() : nullptr;
    return button ? button->text() : QString();
}

/// Clicks a button in a cell: the count of a quote source, or a memory row's "详细" / "删除".
void clickCellButton(const CStandardTable* table, int row, int column, const QString& text)
{
    const QWidget* cell = table->itemWidget(table->rowID(row), column);
    QVERIFY(cell);
    for (CSmallNormalButton* button : cell->findChildren<CSmallNormalButton*>()) {
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no button %1 in row %2").arg(text).arg(row)));
}

/// The lines of a detail dialog's list, in order.
QStringList linesOf(const QDialog* dialog)
{
    QStringList lines;
    const auto* list = dialog->findChild<CVScrollWidgetList*>();
    for (int i = 0; list && i < list->count(); ++i) {
        const auto* line = qobject_cast<const CSimpleTextWidget*>(list->widget(i));
        lines << (line ? line->getText() : QStringLiteral("(not a text)"));
    }
    return lines;
}

struct DetailSeen {
    QString title;
    QSize size;
    QStringList lines;
    bool listRowLook = true;
    QPointer<QDialog> dialog;
};

/// Looks into the detail dialog the next click opens, then closes it.
void inspectDetail(DetailSeen* seen)
{
    inspectModalDialog([seen](QDialog* dialog) {
        seen->title = dialog->windowTitle();
        seen->size = dialog->size();
        seen->lines = linesOf(dialog);
        seen->dialog = dialog;
        for (const CSimpleTextWidget* line : dialog->findChildren<CSimpleTextWidget*>())
            seen->listRowLook = seen->listRowLook
                && line->flag() == (CSimpleTextWidget::TextFlag_HoverBackground | CSimpleTextWidget::TextFlag_ElideRight);
    });
}

QStringList columnOf(const CStandardTable* table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << table->itemText(table->rowID(row), column);
    return texts;
}

QStringList columnOf(const CStandardHpfTable* table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << table->cellText(row, column);
    return texts;
}

int rowNamed(const CStandardHpfTable* table, const QString& name)
{
    return columnOf(table, 0).indexOf(name);
}

void publishQuotes(const std::vector<std::string>& codes)
{
    for (const std::string& code : codes)
        CFormulaManager::instance()->publishQuote(std::make_shared<CQuoteSnapshot>(1, kTradeDate, code, 10.0, 9.9));
}
}

class TestDiagnosticsPages : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        resetHost();
        CStockManager* stocks = CStockManager::instance();
        stocks->addInstrument({"SH600901", "华信科技", "上海证券交易所"});
        stocks->addInstrument({"SZ000652", "远航物流", "深圳证券交易所"});
        stocks->addInstrument({"SZ300417", "新能电气", "深圳证券交易所"});
    }
    void cleanup() { resetHost(); }

    // --- 行情监控 ---

    void quoteTableListsTheTenSourcesInOrderEvenWithoutSubscriptions()
    {
        CQuoterAnalysisDialog page(nullptr);
        QCOMPARE(page.objectName(), QStringLiteral("quoter_analysis"));
        const auto* table = page.findChild<CStandardTable*>();
        QCOMPARE(table->rowCount(), 0); // empty until shown or refreshed
        page.start();
        page.start(); // a second refresh replaces the rows
        QCOMPARE(columnOf(table, ColSource), (QStringList{"proxy股票", "proxy期货", "股票", "期货", "proxy股票期权", "股票期权", "proxy深港通",
                                                          "深港通", "proxy沪港通", "沪港通"}));
        QCOMPARE(table->headerText(ColFullPushCodes), QStringLiteral("从全推订阅的代码个数"));
        QCOMPARE(table->headerText(ColSingleCodes), QStringLiteral("单支订阅的代码个数"));
        for (int row = 0; row < table->rowCount(); ++row) {
            QCOMPARE(buttonText(table, row, ColFullPushCodes), QStringLiteral("0"));
            QCOMPARE(buttonText(table, row, ColSingleCodes), QStringLiteral("0"));
        }
    }

    void countsComeFromTheProxyOrTheDirectListsByType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("row");
        QTest::newRow("direct stocks") << int(ProxyType_Stock) << 2;
        QTest::newRow("direct futures") << int(ProxyType_Future) << 3;
        QTest::newRow("proxy stocks") << int(ProxyType_ProxyStock) << 0;
        QTest::newRow("proxy Shanghai-Hong Kong") << int(ProxyType_ProxyShHkConnect) << 8;
        QTest::newRow("direct Shanghai-Hong Kong, past the proxy mask") << int(ProxyType_ShHkConnect) << 9;
    }
    void countsComeFromTheProxyOrTheDirectListsByType()
    {
        QFETCH(int, type);
        QFETCH(int, row);
        subscribeThreeAndTwo(type);
        CQuoterAnalysisDialog page(nullptr);
        page.start();
        const auto* table = page.findChild<CStandardTable*>();
        for (int index = 0; index < table->rowCount(); ++index) {
            QCOMPARE(buttonText(table, index, ColFullPushCodes), index == row ? QStringLiteral("3") : QStringLiteral("0"));
            QCOMPARE(buttonText(table, index, ColSingleCodes), index == row ? QStringLiteral("2") : QStringLiteral("0"));
        }
        // Each count lists its own codes.
        DetailSeen fullPush;
        inspectDetail(&fullPush);
        clickCellButton(table, row, ColFullPushCodes, QStringLiteral("3"));
        QCOMPARE(fullPush.lines, (QStringList{"1__SH600901__华信科技__上海证券交易所", "3__SZ000652__远航物流__深圳证券交易所"}));
        DetailSeen single;
        inspectDetail(&single);
        clickCellButton(table, row, ColSingleCodes, QStringLiteral("2"));
        QCOMPARE(single.lines, (QStringList{"2__SZ300417__新能电气__深圳证券交易所"}));
    }

    void pushSettingsShowAsTextsAndOnlyAMissingFullPushInRed_data()
    {
        QTest::addColumn<bool>("needed");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("shown"); // needed, open: text and colour key
        QTest::newRow("all on") << true << true << QStringLiteral("强制全推:1, 智能全推:1, 最大订阅数:500")
                                << QStringList{"是", "clr_global_fall", "是", "clr_global_fall"};
        QTest::newRow("all off") << false << false << QStringLiteral("强制全推:0, 智能全推:0, 最大订阅数:0")
                                 << QStringList{"否", "", "否", ""};
        QTest::newRow("needed, not open") << true << false << QStringLiteral("强制全推:1, 智能全推:1, 最大订阅数:500")
                                          << QStringList{"是", "clr_global_fall", "否", "clr_table_warning_text"};
    }
    void pushSettingsShowAsTextsAndOnlyAMissingFullPushInRed()
    {
        QFETCH(bool, needed);
        QFETCH(bool, open);
        QFETCH(QString, settings);
        QFETCH(QStringList, shown);
        QuoterPushSettings push;
        push.forcedFullPush = push.smartFullPush = push.needFullPush = needed;
        push.fullPushOpen = open;
        push.subscribeLimit = needed ? 500 : 0;
        CFormulaManager::instance()->setPushSettings(ProxyType_Future, push);
        CQuoterAnalysisDialog page(nullptr);
        page.start();
        const auto* table = page.findChild<CStandardTable*>();
        const int row = table->rowID(3);
        QCOMPARE(table->itemText(row, ColPushSettings), settings);
        QCOMPARE((QStringList{table->itemText(row, ColNeedFullPush), table->itemTextColorKey(row, ColNeedFullPush),
                              table->itemText(row, ColFullPushOpen), table->itemTextColorKey(row, ColFullPushOpen)}),
                 shown);
    }

    void detailListsNumberTheCodesAndSkipThoseWithoutInstrumentData()
    {
        for (const char* code : {"SH600901", "SH601288", "SZ000652"})
            subscribe(ProxyType_Stock, code, false);
        CQuoterAnalysisDialog page(nullptr);
        page.start();
        DetailSeen seen;
        inspectDetail(&seen);
        clickCellButton(page.findChild<CStandardTable*>(), 2, ColSingleCodes, QStringLiteral("3"));
        QCOMPARE(seen.title, QStringLiteral("订阅明细"));
        QCOMPARE(seen.size, QSize(400, 300));
        QVERIFY(seen.listRowLook);
        QCOMPARE(seen.lines, (QStringList{"1__SH600901__华信科技__上海证券交易所", "3__SZ000652__远航物流__深圳证券交易所"}));
        QVERIFY2(!seen.dialog, "a closed detail dialog is still alive");
    }

    void refreshPicksUpNewSubscriptions()
    {
        CQuoterAnalysisDialog page(nullptr);
        page.resize(900, 400);
        page.show();
        page.start();
        subscribe(ProxyType_Stock, "SH600901", false);
        const auto* table = page.findChild<CStandardTable*>();
        QCOMPARE(buttonText(table, 2, ColSingleCodes), QStringLiteral("0"));
        const auto buttons = page.findChildren<CSmallNormalButton*>();
        const auto refresh = std::find_if(buttons.begin(), buttons.end(), [](CSmallNormalButton* b) { return b->text() == QStringLiteral("刷新"); });
        QVERIFY(refresh != buttons.end());
        QTest::mouseClick(*refresh, Qt::LeftButton);
        QCOMPARE(buttonText(table, 2, ColSingleCodes), QStringLiteral("1"));
    }

    // --- 内存管理器 ---

    void memoryRowsCountTheCacheAndTheRunningModels()
    {
        CMemAnalysisDialog page(nullptr);
        QCOMPARE(page.objectName(), QStringLiteral("mem_analysis"));
        const auto* table = page.findChild<CStandardTable*>();
        page.start();
        QCOMPARE(columnOf(table, ColName), QStringList{"数据缓存"}); // the cache is listed while empty
        QCOMPARE(columnOf(table, ColSize), QStringList{"0"});

        publishQuotes({"SH000001", "SZ399001", "SH600901"});
        CStrategyTradeManager::instance()->startProcess("strategy-1", "网格策略-IF2606");
        page.start();
        QCOMPARE(columnOf(table, ColName), (QStringList{"数据缓存", "运行模型"}));
        QCOMPARE(columnOf(table, ColSize), (QStringList{"3", "1"}));
        const int row = table->rowID(0);
        QCOMPARE(table->itemInt(row, ColSize), 3);
        QCOMPARE(table->itemTextColorKey(row, ColSize), QStringLiteral("clr_global_rise"));
        QCOMPARE(table->itemFontKey(row, ColSize), QStringLiteral("fnt_btn_default_bold"));
        QCOMPARE(buttonText(table, 0, ColOperation), QStringLiteral("详细"));
    }

    void detailsListACategorysNamesInOrder_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("data cache") << 0 << QStringList{"SH000001", "SH600901", "SZ399001"};
        QTest::newRow("running models") << 1 << QStringList{"网格策略-IF2606 (strategy-2)", "趋势跟踪-AU2608 (strategy-1)"};
    }
    void detailsListACategorysNamesInOrder()
    {
        QFETCH(int, row);
        QFETCH(QStringList, lines);
        publishQuotes({"SZ399001", "SH000001", "SH600901"});
        CStrategyTradeManager::instance()->startProcess("strategy-1", "趋势跟踪-AU2608");
        CStrategyTradeManager::instance()->startProcess("strategy-2", "网格策略-IF2606");
        CMemAnalysisDialog page(nullptr);
        page.start();
        DetailSeen seen;
        inspectDetail(&seen);
        clickCellButton(page.findChild<CStandardTable*>(), row, ColOperation, QStringLiteral("详细"));
        QCOMPARE(seen.title, QStringLiteral("内存明细"));
        QCOMPARE(seen.size, QSize(400, 300));
        QVERIFY(seen.listRowLook);
        QCOMPARE(seen.lines, lines);
        QVERIFY2(!seen.dialog, "a closed detail dialog is still alive");
    }

    void deleteClearsTheDataCacheOnlyFromItsOwnRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("sizes");
        QTest::addColumn<bool>("cacheKept");
        QTest::newRow("data cache row") << 0 << QStringList{"0", "1"} << false;
        QTest::newRow("running model row") << 1 << QStringList{"2", "1"} << true;
    }
    void deleteClearsTheDataCacheOnlyFromItsOwnRow()
    {
        QFETCH(int, row);
        QFETCH(QStringList, sizes);
        QFETCH(bool, cacheKept);
        publishQuotes({"SH000001", "SZ399001"});
        CStrategyTradeManager::instance()->startProcess("strategy-1", "网格策略-IF2606");
        CMemAnalysisDialog page(nullptr);
        page.show();
        page.start();
        const auto* table = page.findChild<CStandardTable*>();
        clickCellButton(table, row, ColOperation, QStringLiteral("删除"));
        // The row's buttons were replaced by the refresh; the clicked one goes once the click is over.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(columnOf(table, ColSize), sizes);
        QCOMPARE(CFormulaManager::instance()->getSnapshot("SH000001") != nullptr, cacheKept);
        QCOMPARE(CStrategyTradeManager::instance()->runningProcesses(), QStringList{"strategy-1"});
    }

    // --- 对象数量监控 ---

    void objectCountsFollowRecordsCreatedAndDropped()
    {
        CObjectNumMonitorDialog page(nullptr);
        QCOMPARE(page.objectName(), QStringLiteral("object_num_monitor"));
        const auto* table = page.findChild<CStandardHpfTable*>();
        std::vector<std::unique_ptr<PageTestRecord>> records;
        for (int i = 0; i < 4; ++i)
            records.push_back(std::make_unique<PageTestRecord>());
        page.refresh();
        int row = rowNamed(table, QStringLiteral("PageTestRecord"));
        QVERIFY2(row >= 0, qPrintable(columnOf(table, 0).join(QLatin1Char(','))));
        QCOMPARE(table->cellText(row, 1), QStringLiteral("4"));
        QCOMPARE(table->cellText(row, 2), QStringLiteral("4"));
        records.resize(1);
        page.refresh();
        row = rowNamed(table, QStringLiteral("PageTestRecord"));
        QCOMPARE(table->cellText(row, 1), QStringLiteral("4"));
        QCOMPARE(table->cellText(row, 2), QStringLiteral("1"));
        // The host's own records are counted too.
        const auto order = std::make_shared<COrderDetail>("O1", "acc", "SH600901", OrderStatus_Queued);
        page.refresh();
        QVERIFY(rowNamed(table, QStringLiteral("COrderDetail")) >= 0);
    }

    void rowsAreSortedByNameAndTotalledWithoutNoValueCells()
    {
        TypeManager::instance()->counter("ZZPageTestHuge").setCounts(5000000000LL, 2);
        TypeManager::instance()->counter("AAPageTestSmall").setCounts(3, 1);
        CObjectNumMonitorDialog page(nullptr);
        page.refresh();
        const auto* table = page.findChild<CStandardHpfTable*>();
        QStringList names = columnOf(table, 0);
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
        QCOMPARE(names, sorted);
        const int huge = rowNamed(table, QStringLiteral("ZZPageTestHuge"));
        QCOMPARE(table->cellText(huge, 1), QStringLiteral("-"));
        QCOMPARE(table->cellText(huge, 2), QStringLiteral("2"));
        for (int column : {1, 2}) {
            long long total = 0;
            for (const QString& cell : columnOf(table, column))
                total += cell == QStringLiteral("-") ? 0 : cell.toLongLong();
            QCOMPARE(table->statText(column), QString::number(total));
        }
    }

    void theNameFilterNarrowsTheRowsAndTheirTotals()
    {
        TypeManager::instance()->counter("PageFilterAlpha").setCounts(10, 4);
        TypeManager::instance()->counter("PageFilterBeta").setCounts(20, 5);
        CObjectNumMonitorDialog page(nullptr);
        page.refresh();
        auto* table = page.findChild<CStandardHpfTable*>();
        QVERIFY(table->isColumnFilterable(0));
        table->setColumnFilter(0, QStringLiteral("pagefilter"));
        QCOMPARE(columnOf(table, 0), (QStringList{"PageFilterAlpha", "PageFilterBeta"}));
        QCOMPARE(table->statText(1), QStringLiteral("30"));
        QCOMPARE(table->statText(2), QStringLiteral("9"));
        // A refresh keeps the filter.
        page.refresh();
        QCOMPARE(table->rowCount(), 2);
        // The filter's clear button fades in; Qt frees that animation only when it ends, so let it
        // end before the page goes, or it is still alive when the test program exits.
        auto* clearButton = table->findChild<QLineEdit*>()->findChild<QToolButton*>();
        QTRY_COMPARE(clearButton->property("opacity").toReal(), 1.0);
    }

    void cleanMemorySaysWhetherItWorked_data()
    {
        QTest::addColumn<bool>("trimmed");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("trimmed") << true << int(CMessageBox::Kind_Information) << QStringLiteral("清理内存成功");
        QTest::newRow("not trimmed") << false << int(CMessageBox::Kind_Warning) << QStringLiteral("清理内存失败");
    }
    void cleanMemorySaysWhetherItWorked()
    {
        QFETCH(bool, trimmed);
        QFETCH(int, kind);
        QFETCH(QString, text);
        QVector<CMessageBox::Request> boxes;
        CMessageBox::setPresenter([&boxes](const CMessageBox::Request& request) {
            boxes << request;
            return QMessageBox::Ok;
        });
        CProcessMemory::instance()->setTrimResult(trimmed);
        CObjectNumMonitorDialog page(nullptr);
        page.resize(800, 600); // a page with no room for its tool row leaves its buttons out of reach
        page.show();
        const auto buttons = page.findChildren<CSmallNormalButton*>();
        const auto clean = std::find_if(buttons.begin(), buttons.end(), [](CSmallNormalButton* b) { return b->text() == QStringLiteral("清理内存"); });
        QVERIFY(clean != buttons.end());
        QTest::mouseClick(*clean, Qt::LeftButton);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(int(boxes.first().kind), kind);
        QCOMPARE(boxes.first().title, QStringLiteral("操作"));
        QCOMPARE(boxes.first().text, text);
        QCOMPARE(boxes.first().parent, &page);
        QCOMPARE(boxes.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    // --- 性能监控 ---

    void monitorTabsFollowTheClientMode_data()
    {
        QTest::addColumn<bool>("varno");
        QTest::addColumn<QStringList>("tabs");
        QTest::newRow("terminal") << false << QStringList{"行情监控", "对象数量监控", "内存管理器"};
        QTest::newRow("Varno client mode") << true << QStringList{"对象数量监控", "内存管理器"};
    }
    void monitorTabsFollowTheClientMode()
    {
        QFETCH(bool, varno);
        QFETCH(QStringList, tabs);
        getUserConfig()->setVarnoClientMode(varno);
        QPointer<CPerformMonitorDialog> monitor = new CPerformMonitorDialog;
        QCOMPARE(monitor->title(), QStringLiteral("性能监控"));
        QCOMPARE(monitor->size(), QSize(950, 450));
        QVERIFY(monitor->testAttribute(Qt::WA_DeleteOnClose));
        const auto* control = monitor->findChild<CStandardTabControl*>();
        QStringList titles;
        for (int i = 0; i < control->count(); ++i)
            titles << control->tabText(i);
        QCOMPARE(titles, tabs);
        QCOMPARE(monitor->findChild<CQuoterAnalysisDialog*>() != nullptr, !varno);
        monitor->show();
        monitor->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(!monitor, "the monitor outlived its closing");
    }

    void monitorFillsThePageShownAndThenThePageChosen()
    {
        publishQuotes({"SH000001"});
        CPerformMonitorDialog monitor;
        monitor.setAttribute(Qt::WA_DeleteOnClose, false); // on the stack here
        auto* control = monitor.findChild<CStandardTabControl*>();
        const auto* quotes = monitor.findChild<CQuoterAnalysisDialog*>()->findChild<CStandardTable*>();
        const auto* memory = monitor.findChild<CMemAnalysisDialog*>()->findChild<CStandardTable*>();
        QCOMPARE(quotes->rowCount(), 0);
        monitor.show();
        QCOMPARE(quotes->rowCount(), 10);
        QCOMPARE(memory->rowCount(), 0);
        control->setCurrentIndex(2);
        QCOMPARE(columnOf(memory, ColSize), QStringList{"1"});
    }
};

STATUSBAR_TEST_MAIN(TestDiagnosticsPages)
#include "tst_diagnosticspages.moc"
