#include <testmain.h>

#include <eventrecorder.h>

#include <terminalhost/basetablecolumnsimpletextdelegate.h>
#include <terminalhost/simpletext.h>
#include <terminalhost/standardtableex.h>
#include <terminalhost/uiresource.h>

#include <QHeaderView>
#include <QTableWidget>

namespace {
constexpr int kDelegateId = 1026;

/// A shown two-column table whose title column is drawn by a text delegate.
struct TitleTable {
    QWidget window;
    CStandardTableEx* table = new CStandardTableEx(0, &window);
    CBaseTableColumnSimpleTextDelegate* titles = new CBaseTableColumnSimpleTextDelegate(kDelegateId, table);

    TitleTable()
    {
        table->setColumnCount(2);
        table->setColumnDelegate(0, titles);
        table->setFlag(table->flag() & ~CStandardTableEx::Flag_ColumnResize);
        window.resize(500, 300);
        table->resize(500, 300);
        window.show();
    }
    int addTitle(const QString& title, bool clickable)
    {
        const int row = table->prependRow();
        titles->setItemText(QString::number(row), title, true);
        titles->setItemClickable(QString::number(row), clickable, true);
        return row;
    }
    void clickTitle(int index)
    {
        QTableWidget* view = table->view();
        const QRect cell = view->visualRect(view->model()->index(index, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }
};
}

class TestMarketToolkit : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }

    void flagsDecideWhatTheUserMayDo()
    {
        CStandardTableEx table(0, nullptr);
        table.setColumnCount(2);
        QCOMPARE(table.flag(), int(CStandardTableEx::kDefaultFlags));
        table.setFlag(CStandardTableEx::Flag_RowSelect | CStandardTableEx::Flag_LastColumnStretch | CStandardTableEx::Flag_Editable);
        QHeaderView* header = table.view()->horizontalHeader();
        QVERIFY(!header->isVisible() && !header->sectionsMovable());
        QCOMPARE(header->sectionResizeMode(0), QHeaderView::Fixed);
        QVERIFY(header->stretchLastSection());
        QCOMPARE(table.view()->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(table.view()->editTriggers(), QAbstractItemView::EditTriggers(QAbstractItemView::DoubleClicked));
        table.setColumnWidth(0, 123);
        QCOMPARE(table.columnWidth(0), 123);
        table.setColListVisible(0, true);
        QCOMPARE(table.columnListEntries(), std::vector<int>{0});
    }

    void clickingAClickableTitleDeliversItsKey()
    {
        EventRecorder recorder;
        TitleTable fixture;
        const int plain = fixture.addTitle(QStringLiteral("不可点"), false);
        const int link = fixture.addTitle(QStringLiteral("可点的标题"), true);
        QVERIFY(QTest::qWaitForWindowExposed(&fixture.window));
        fixture.clickTitle(1); // the plain one, below
        QCOMPARE(recorder.count(Event_TableCellClick), 0);
        fixture.clickTitle(0);
        QCOMPARE(recorder.count(Event_TableCellClick, kDelegateId), 1);
        QCOMPARE(recorder.events().at(0).text, QString::number(link));
        QVERIFY(plain != link);
    }

    void theTitleColumnWidthFollowsTheWidestTitle()
    {
        TitleTable fixture;
        fixture.titles->setFontKey(QStringLiteral("fnt_default_normal_fix"));
        fixture.addTitle(QStringLiteral("短"), true);
        const int padding = fixture.titles->getAdjustedWidth() - CSimpleText::getSize(QStringLiteral("短"), QStringLiteral("fnt_default_normal_fix")).width();
        QVERIFY(padding > 0);
        const QString longest = QStringLiteral("关于召开二〇二六年第一次临时股东大会的通知");
        const int row = fixture.addTitle(longest, true);
        QCOMPARE(fixture.titles->getAdjustedWidth(), CSimpleText::getSize(longest, QStringLiteral("fnt_default_normal_fix")).width() + padding);
        fixture.titles->setItemText(QString::number(row), QStringLiteral("短"), true);
        QCOMPARE(fixture.titles->getAdjustedWidth(), CSimpleText::getSize(QStringLiteral("短"), QStringLiteral("fnt_default_normal_fix")).width() + padding);
        fixture.table->clear();
        QCOMPARE(fixture.titles->getAdjustedWidth(), padding);
        QCOMPARE(fixture.titles->itemText(QString::number(row)), QString());
    }
};

STATUSBAR_TEST_MAIN(TestMarketToolkit)
#include "tst_markettoolkit.moc"
