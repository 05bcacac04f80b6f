#include <testmain.h>

#include <eventrecorder.h>
#include <modaldialog.h>

#include <terminalhost/hostutils.h>
#include <terminalhost/messagebox.h>
#include <terminalhost/simpletext.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/smallnormalbutton.h>
#include <terminalhost/standardhpftable.h>
#include <terminalhost/standardtabcontrol.h>
#include <terminalhost/standardtable.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/vscrollwidgetlist.h>

#include <QAbstractButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>

#include <memory>
#include <string>
#include <vector>

namespace {
int g_textRequests = 0; // how often rows were asked for a text, since the last reset

/// A row with a name (key column), a count (integer column) and a value (floating column).
class Row : public IBaseHpfTableData
{
public:
    Row(std::string name, int count, double value = 0.0)
        : m_name(std::move(name))
        , m_count(count)
        , m_value(value)
    {
    }
    QString getText(int column) const override
    {
        ++g_textRequests;
        switch (column) {
        case 0:
            return sToQs(m_name);
        case 1:
            return m_count == kNoIntValue ? QStringLiteral("-") : QString::number(m_count);
        default:
            return QString::number(m_value);
        }
    }
    std::string getString(int column) const override { return column == 0 ? m_name : std::string(); }
    int getInt(int column) const override { return column == 1 ? m_count : 0; }
    double getDouble(int column) const override { return column == 2 ? m_value : 0.0; }
    QString getTextColorKey(int) const override { return QStringLiteral("clr_default"); }
    std::string getKey() const override { return m_name; }

private:
    std::string m_name;
    int m_count = 0;
    double m_value = 0.0;
};

class Model : public IBaseHpfTableModel
{
public:
    explicit Model(bool uniqueKeys = true)
        : IBaseHpfTableModel(uniqueKeys)
    {
    }
    int getColumnCount() const override { return 3; }
    QString getHeaderText(int column) const override { return QStringList{QStringLiteral("名称"), QStringLiteral("数量"), QStringLiteral("金额")}.value(column); }
    int getColumnKind(int column) const override
    {
        return column == 0 ? HpfColumn_Key : column == 1 ? HpfColumn_Int : HpfColumn_Double;
    }
    QString getStatText(int column) const override
    {
        if (column == 1)
            return getStatColumnInt(column) == kNoIntValue ? QStringLiteral("none") : QString::number(getStatColumnInt(column));
        return column == 2 ? QString::number(getStatColumnDouble(column)) : QString();
    }
    QString getRowBackgroundKey(int row) const override
    {
        return (row & 1) ? QStringLiteral("clr_table_background2") : QStringLiteral("clr_table_background");
    }
    bool isCellClickable(const IBaseHpfTableData& data, int column) const override
    {
        return column == 0 && data.getKey().rfind("click", 0) == 0;
    }
    int getRowHeight() const override { return 0; }
};

/// A shown table over a model with the given rows; column 0 filterable, columns 1 and 2 totalled.
struct HpfFixture {
    QWidget window;
    CStandardHpfTable* table = new CStandardHpfTable(CStandardHpfTable::Style_Monitor, &window, CStandardHpfTable::Flag_All);
    Model* model = new Model;

    explicit HpfFixture(const std::vector<std::pair<std::string, int>>& rows)
    {
        table->setDataModel(model);
        table->setColumnFilterable(0, true);
        table->setColumnStatEnable(1, true);
        table->setColumnStatEnable(2, true);
        for (const auto& row : rows)
            model->addData(std::make_shared<Row>(row.first, row.second, row.second / 2.0));
        table->updateTable();
        table->resize(600, 400);
        window.resize(600, 400);
        window.show();
    }
    QStringList names() const
    {
        QStringList shown;
        for (int row = 0; row < table->rowCount(); ++row)
            shown << table->cellText(row, 0);
        return shown;
    }
};

const std::vector<std::pair<std::string, int>> kTypes = {
    {"Order", 5}, {"order-book", 7}, {"Task", 2}, {"Message", kNoIntValue}, {"Account", 1},
};

/// A page that counts how often it was made the one shown.
struct CountingPage : CBaseWidget {
    CountingPage()
        : CBaseWidget(QStringLiteral("counting_page"), false, nullptr)
    {
    }
    int activations = 0;
    void onActive() override { ++activations; }
};
}

class TestDiagnosticsToolkit : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }

    void hpfTableFiltersSortsAndTotalsTheRowsShown_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("sortColumn");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("countTotal");

        QTest::newRow("no filter: the model's order, no-value cells not totalled")
            << QString() << -1 << int(Qt::AscendingOrder)
            << QStringList{"Order", "order-book", "Task", "Message", "Account"} << QStringLiteral("15");
        QTest::newRow("filter in any case") << QStringLiteral("ORDER") << -1 << int(Qt::AscendingOrder)
                                            << QStringList{"Order", "order-book"} << QStringLiteral("12");
        QTest::newRow("filter matching nothing") << QStringLiteral("xyz") << -1 << int(Qt::AscendingOrder) << QStringList{}
                                                 << QStringLiteral("0");
        QTest::newRow("key column ascending, by bytes") << QString() << 0 << int(Qt::AscendingOrder)
                                                        << QStringList{"Account", "Message", "Order", "Task", "order-book"}
                                                        << QStringLiteral("15");
        QTest::newRow("key column descending") << QString() << 0 << int(Qt::DescendingOrder)
                                               << QStringList{"order-book", "Task", "Order", "Message", "Account"}
                                               << QStringLiteral("15");
        QTest::newRow("integer column ascending, no value last") << QString() << 1 << int(Qt::AscendingOrder)
                                                                 << QStringList{"Account", "Task", "Order", "order-book", "Message"}
                                                                 << QStringLiteral("15");
        QTest::newRow("filter and sort together") << QStringLiteral("a") << 1 << int(Qt::DescendingOrder)
                                                  << QStringList{"Message", "Task", "Account"} << QStringLiteral("3");
    }
    void hpfTableFiltersSortsAndTotalsTheRowsShown()
    {
        QFETCH(QString, filter);
        QFETCH(int, sortColumn);
        QFETCH(int, order);
        QFETCH(QStringList, names);
        QFETCH(QString, countTotal);
        HpfFixture fixture(kTypes);
        fixture.table->setColumnFilter(0, filter);
        fixture.table->sortByColumn(sortColumn, Qt::SortOrder(order));
        QCOMPARE(fixture.names(), names);
        QCOMPARE(fixture.table->statText(1), countTotal);
        QCOMPARE(fixture.table->statText(0), QStringLiteral("合计 (%1)").arg(names.size()));
        // Typing into the filter field does the same as setting the filter.
        fixture.table->setColumnFilter(0, QString());
        auto* field = fixture.table->findChild<QLineEdit*>(QStringLiteral("hpf_filter_0"));
        QVERIFY(field && field->isVisible());
        QTest::keyClicks(field, filter);
        QCOMPARE(fixture.names(), names);
    }

    void otherColumnsFilterOnTheTextTheyShow()
    {
        HpfFixture fixture(kTypes);
        fixture.table->setColumnFilterable(1, true);
        fixture.table->setColumnFilter(1, QStringLiteral("-")); // the no-value mark, as shown
        QCOMPARE(fixture.names(), QStringList{"Message"});
        fixture.table->setColumnFilter(0, QStringLiteral("o"));
        QCOMPARE(fixture.names(), QStringList{}); // both filters at once
    }

    void aTotalTooLargeForAnIntReadsNoValue()
    {
        HpfFixture fixture({{"big", kNoIntValue - 1}, {"more", 5}});
        QCOMPARE(fixture.model->getStatColumnInt(1), kNoIntValue);
        QCOMPARE(fixture.table->statText(1), QStringLiteral("none"));
        fixture.table->setColumnFilter(0, QStringLiteral("more"));
        QCOMPARE(fixture.table->statText(1), QStringLiteral("5"));
    }

    void rowsWithTheSameKeyReplaceEachOtherOnlyWhenKeysAreUnique_data()
    {
        QTest::addColumn<bool>("unique");
        QTest::addColumn<QStringList>("counts");
        QTest::newRow("unique keys") << true << QStringList{"9", "2"};
        QTest::newRow("keys may repeat") << false << QStringList{"5", "2", "9"};
    }
    void rowsWithTheSameKeyReplaceEachOtherOnlyWhenKeysAreUnique()
    {
        QFETCH(bool, unique);
        QFETCH(QStringList, counts);
        QWidget window;
        auto* table = new CStandardHpfTable(CStandardHpfTable::Style_Monitor, &window, CStandardHpfTable::Flag_All);
        auto* model = new Model(unique);
        table->setDataModel(model);
        model->addData(std::make_shared<Row>("Order", 5));
        model->addData(std::make_shared<Row>("Task", 2));
        model->addData(std::make_shared<Row>("Order", 9));
        table->updateTable();
        QStringList shown;
        for (int row = 0; row < table->rowCount(); ++row)
            shown << table->cellText(row, 1);
        QCOMPARE(shown, counts);
    }

    void aHundredThousandRowsAreAskedOnlyForWhatIsOnScreen()
    {
        std::vector<std::pair<std::string, int>> rows;
        for (int i = 0; i < 100000; ++i)
            rows.emplace_back("Type" + std::to_string(i), i % 100);
        HpfFixture fixture(rows);
        QVERIFY(QTest::qWaitForWindowExposed(&fixture.window));
        g_textRequests = 0;
        fixture.table->updateTable();
        fixture.table->view()->viewport()->repaint();
        QCOMPARE(fixture.table->rowCount(), 100000);
        QVERIFY2(g_textRequests > 0 && g_textRequests < 2000, qPrintable(QStringLiteral("%1 texts asked").arg(g_textRequests)));
        QCOMPARE(fixture.table->statText(1), QString::number(1000 * (99 * 100 / 2)));
    }

    void rowBackgroundsAndTextColoursComeFromTheThemeByDisplayRow()
    {
        HpfFixture fixture(kTypes);
        fixture.table->sortByColumn(0, Qt::DescendingOrder);
        const QAbstractItemModel* rows = fixture.table->view()->model();
        const CUiResource* resource = CUiResource::instance();
        for (int row = 0; row < rows->rowCount(); ++row) {
            const QString key = (row & 1) ? QStringLiteral("clr_table_background2") : QStringLiteral("clr_table_background");
            QCOMPARE(rows->data(rows->index(row, 0), Qt::BackgroundRole).value<QColor>(), resource->getColor(key));
            QCOMPARE(rows->data(rows->index(row, 1), Qt::ForegroundRole).value<QColor>(), resource->getColor(QStringLiteral("clr_default")));
        }
        QCOMPARE(rows->data(rows->index(0, 1), Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(rows->data(rows->index(0, 0), Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
    }

    void aClickOnAClickableCellDeliversTheRowKeyAndColumn()
    {
        EventRecorder recorder;
        HpfFixture fixture({{"plain", 1}, {"click-me", 2}});
        QTableView* view = fixture.table->view();
        for (int row = 0; row < 2; ++row)
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 1)).center());
        QCOMPARE(recorder.count(Event_TableCellClick), 1);
        QCOMPARE(recorder.events().first().text, QStringLiteral("click-me,0"));
    }

    void theStatisticsRowSitsAboveTheHeaderWhileAColumnIsTotalled()
    {
        QWidget window;
        auto* table = new CStandardHpfTable(CStandardHpfTable::Style_Monitor, &window, CStandardHpfTable::Flag_All);
        table->setDataModel(new Model);
        table->resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The statistics row is the table's only plain child widget besides the view and the filter bar.
        QWidget* statistics = nullptr;
        for (QWidget* child : table->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child != table->view() && child->objectName() != QLatin1String("hpf_filter_bar"))
                statistics = child;
        }
        QVERIFY(statistics && !statistics->isVisible());
        table->setColumnStatEnable(1, true);
        QVERIFY(statistics->isVisible());
        QVERIFY(statistics->geometry().bottom() <= table->view()->geometry().top());
        table->setColumnStatEnable(1, false);
        QVERIFY(!statistics->isVisible());
    }

    void integerCellsShowTheirNumberColourAndFont_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << 1234567 << QStringLiteral("1234567");
        QTest::newRow("no value") << kNoIntValue << QStringLiteral("-");
        QTest::newRow("zero") << 0 << QStringLiteral("0");
    }
    void integerCellsShowTheirNumberColourAndFont()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        CStandardTable table(0, nullptr, CStandardTable::Flag_All);
        table.setColumnCount(2);
        const int row = table.appendRow();
        table.setItemInt(row, 1, value, QStringLiteral("clr_global_rise"), QStringLiteral("fnt_btn_default_bold"), true);
        QCOMPARE(table.itemText(row, 1), text);
        QCOMPARE(table.itemInt(row, 1), value);
        const QTableWidgetItem* item = table.findChild<QTableWidget*>()->item(0, 1);
        CUiResource* resource = CUiResource::instance();
        QCOMPARE(item->foreground().color(), resource->getColor(QStringLiteral("clr_global_rise")));
        QCOMPARE(item->font().bold(), resource->getFont(QStringLiteral("fnt_btn_default_bold")).bold());
        QVERIFY(item->font().bold());
        // The look follows a theme change.
        QVERIFY(resource->setTheme(QStringLiteral("light")));
        QCOMPARE(item->foreground().color(), resource->getColor(QStringLiteral("clr_global_rise")));
    }

    void cellWidgetsGoWithTheirRowsButOnlyFromTheEventLoop()
    {
        // A row's button may clear the table from its own click handler: it must outlive that call.
        CStandardTable table(0, nullptr, CStandardTable::Flag_All);
        table.setColumnCount(4);
        table.setColumnVisible(3, false);
        QVERIFY(!table.isColumnVisible(3) && table.isColumnVisible(2));
        const int first = table.appendRow();
        const int row = table.appendRow();
        QPointer<QWidget> removed = new CSmallNormalButton(0, false, 1, nullptr);
        QPointer<QWidget> cleared = new CSmallNormalButton(1, false, 1, nullptr);
        table.setItemWidget(first, 1, removed, Qt::AlignCenter, true);
        table.setItemWidget(row, 1, cleared, Qt::AlignCenter, true);
        QCOMPARE(table.itemWidget(row, 1), cleared.data());
        table.removeRow(first);
        table.clear();
        QCOMPARE(table.rowCount(), 0);
        QVERIFY2(removed && cleared, "a cell widget was deleted while its handler could still be running");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!removed && !cleared);
        QCOMPARE(table.appendRow(), 0);
    }

    void sizableColumnsStartAtTheirContentsWidthUntilTheUserSizesThem()
    {
        CStandardTable table(0, nullptr, CStandardTable::Flag_All);
        table.setColumnCount(3);
        const int row = table.appendRow();
        const QString wide = QStringLiteral("强制全推:0, 智能全推:0, 最大订阅数:500");
        table.setItemText(row, 0, wide, true);
        QTRY_VERIFY(table.findChild<QTableWidget*>()->columnWidth(0) > CSimpleText::getSize(wide, QStringLiteral("fnt_default_normal")).width());
        auto* header = table.findChild<QTableWidget*>()->horizontalHeader();
        header->resizeSection(0, 60); // as a drag does
        table.setItemText(row, 0, wide + wide, true);
        QCoreApplication::processEvents();
        QCOMPARE(header->sectionSize(0), 60);
    }

    void pagesHearOnActiveWhenShownOrChosenWhileVisible()
    {
        CStandardTabControl tabs(nullptr);
        auto* first = new CountingPage;
        auto* second = new CountingPage;
        tabs.addTabWidget(QStringLiteral("一"), first);
        tabs.addTabWidget(QStringLiteral("二"), second);
        tabs.setCurrentIndex(1);
        tabs.setCurrentIndex(0);
        QCOMPARE(first->activations + second->activations, 0); // nobody looked yet
        tabs.show();
        QCOMPARE(first->activations, 1);
        tabs.setCurrentIndex(1);
        QCOMPARE(second->activations, 1);
        tabs.setCurrentIndex(0);
        QCOMPARE(first->activations, 2);
        tabs.hide();
        tabs.setCurrentIndex(1);
        QCOMPARE(second->activations, 1);
        tabs.show();
        QCOMPARE(second->activations, 2);
    }

    void aScrollListOwnsItsWidgetsAndClearsThem_data()
    {
        QTest::addColumn<bool>("deferDelete");
        QTest::newRow("at once") << false;
        QTest::newRow("from the event loop") << true;
    }
    void aScrollListOwnsItsWidgetsAndClearsThem()
    {
        QFETCH(bool, deferDelete);
        CVScrollWidgetList list(CVScrollWidgetList::Flag_ScrollBarAsNeeded, nullptr);
        list.resize(300, 200);
        QPointer<CSimpleTextWidget> line = new CSimpleTextWidget(false, 0, QStringLiteral("1__SH600901__华信科技__上海证券交易所"), nullptr);
        list.addWidget(line);
        list.addWidget(new CSimpleTextWidget(false, 0, QStringLiteral("2"), nullptr));
        list.show();
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.widget(0), line.data());
        QVERIFY2(line->width() > line->sizeHint().width(), "a line does not take the list's width");
        list.clearWidgets(deferDelete);
        QCOMPARE(list.count(), 0);
        QCOMPARE(line.isNull(), !deferDelete);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!line);
    }

    void aListRowIsSetInFromItsEdges()
    {
        const QString text = QStringLiteral("1__SH600901__华信科技");
        CSimpleTextWidget line(false, 0, text, nullptr);
        const QSize plain = CSimpleText::getSize(text, line.fontKey());
        QCOMPARE(line.sizeHint(), plain);
        line.setFlag(CSimpleTextWidget::TextFlag_HoverBackground | CSimpleTextWidget::TextFlag_ElideRight);
        QCOMPARE(line.flag(), int(CSimpleTextWidget::TextFlag_HoverBackground | CSimpleTextWidget::TextFlag_ElideRight));
        QVERIFY(line.sizeHint().width() > plain.width());
        QVERIFY(line.sizeHint().height() > plain.height());
        QCOMPARE(line.size(), line.sizeHint());
    }

    void messageBoxesAnswerThroughThePresenterOrShowThemselves()
    {
        QVector<CMessageBox::Request> requests;
        CMessageBox::setPresenter([&requests](const CMessageBox::Request& request) {
            requests << request;
            return QMessageBox::Ok;
        });
        QWidget owner;
        QCOMPARE(CMessageBox::warning(nullptr, &owner, QStringLiteral("操作"), QStringLiteral("失败")), QMessageBox::Ok);
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().kind, CMessageBox::Kind_Warning);
        QCOMPARE(requests.first().parent, &owner);
        QCOMPARE(requests.first().text, QStringLiteral("失败"));

        CMessageBox::setPresenter({});
        QStringList shown; // the title and text, then each button's text, and whether it has an icon
        inspectModalDialog([&shown](QDialog* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            shown << box->windowTitle() + QLatin1Char(':') + box->text();
            for (const QAbstractButton* button : box->buttons())
                shown << button->text() + (button->icon().isNull() ? QString() : QStringLiteral(" with an icon"));
        });
        QCOMPARE(CMessageBox::information(nullptr, &owner, QStringLiteral("操作"), QStringLiteral("成功"),
                                          QMessageBox::Ok | QMessageBox::Cancel),
                 QMessageBox::NoButton);
        QCOMPARE(shown, (QStringList{"操作:成功", "确定", "取消"}));
    }
};

STATUSBAR_TEST_MAIN(TestDiagnosticsToolkit)
#include "tst_diagnosticstoolkit.moc"
