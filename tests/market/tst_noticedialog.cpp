#include <testmain.h>

#include "marketfixtures.h"

#include <statusbar/noticedialog.h>
#include <statusbar/noticeinfoitemdialog.h>
#include <statusbar/noticewidget.h>

#include <terminalhost/basetablecolumnsimpletextdelegate.h>
#include <terminalhost/standardtabcontrol.h>
#include <terminalhost/standardtableex.h>
#include <terminalhost/textedit.h>
#include <terminalhost/uiresource.h>

#include <QSignalSpy>
#include <QTableWidget>

#include <algorithm>

using namespace market;

namespace {
const QString kHighlight = QStringLiteral("tc_clr_deptch_order_queue_price_rise");

void store(NoticeStore& into, const char* market, const std::shared_ptr<Notice>& record)
{
    insertNotice(into, QLatin1String(market), record);
}

CBaseTableColumnSimpleTextDelegate* titles(CStandardTableEx* table)
{
    return dynamic_cast<CBaseTableColumnSimpleTextDelegate*>(table->columnDelegate(0));
}

/// One shown row: title, its colour key, level text, level colour key.
QStringList row(CStandardTableEx* table, int index)
{
    const int id = table->rowID(index);
    const QString key = QString::number(id);
    return {titles(table)->itemText(key), titles(table)->itemColorKey(key), table->itemText(id, 1), table->itemTextColorKey(id, 1)};
}

void clickTitle(CStandardTableEx* table, int index)
{
    QTableWidget* view = table->view();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(index, 0)).center());
}
}

class TestNoticeDialog : public QObject
{
    Q_OBJECT
private slots:
    void init() { freshHost(); }

    void eachExchangeListsImportantAnnouncementsFirstLargestKeyFirst()
    {
        NoticeStore important;
        NoticeStore ordinary;
        store(ordinary, "SH", notice(5, 0, "O1"));
        store(ordinary, "SH", notice(7, 0, "O2"));
        store(important, "SH", notice(3, 1, "I1"));
        store(important, "SH", notice(4, 2, "I2"));
        store(important, "SH", notice(2, 3, "I3"));
        NoticeDialog dialog(nullptr);
        dialog.setNoticeData(important, ordinary);
        CStandardTableEx* table = dialog.shanghaiTable();
        QCOMPARE(table->rowCount(), 5);
        const QString plain = QStringLiteral("clr_table_text");
        QCOMPARE(row(table, 0), (QStringList{QStringLiteral("I2"), kHighlight, QStringLiteral("重要"), kHighlight}));
        QCOMPARE(row(table, 1), (QStringList{QStringLiteral("I1"), kHighlight, QStringLiteral("重要紧急"), kHighlight}));
        QCOMPARE(row(table, 2), (QStringList{QStringLiteral("I3"), kHighlight, QString(), QString()})); // no label for level 3
        QCOMPARE(row(table, 3), (QStringList{QStringLiteral("O2"), plain, QStringLiteral("普通"), QString()}));
        QCOMPARE(row(table, 4), (QStringList{QStringLiteral("O1"), plain, QStringLiteral("普通"), QString()}));
        QCOMPARE(dialog.shenzhenTable()->rowCount(), 0);
        QVERIFY(!dialog.contents().contains(QStringLiteral("SZ")));
        QCOMPARE(dialog.tabControl()->tabText(0), QStringLiteral("  上证公告  "));
        QCOMPARE(dialog.tabControl()->tabText(1), QStringLiteral("  深证公告  "));
        QCOMPARE(dialog.title(), QStringLiteral("公告列表"));
        QCOMPARE(table->columnWidth(0), std::max(titles(table)->getAdjustedWidth(), 80));
    }

    void clickingATitleEmitsTheTextOfTheTabShown_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("content");
        QTest::newRow("上证") << 0 << QStringLiteral("沪市正文");
        QTest::newRow("深证") << 1 << QStringLiteral("深市正文");
    }
    void clickingATitleEmitsTheTextOfTheTabShown()
    {
        QFETCH(int, tab);
        QFETCH(QString, content);
        NoticeStore important;
        NoticeStore ordinary;
        store(ordinary, "SH", notice(1, 0, "沪市公告", "沪市正文"));
        store(ordinary, "SZ", notice(1, 0, "深市公告", "深市正文"));
        NoticeDialog dialog(nullptr);
        dialog.setNoticeData(important, ordinary);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.tabControl()->setCurrentIndex(tab);
        QSignalSpy shown(&dialog, &NoticeDialog::sigShowNotice);
        clickTitle(tab == 0 ? dialog.shanghaiTable() : dialog.shenzhenTable(), 0);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toString(), content);
        // The tab decides, not the sender's id; an unknown row gives empty text.
        QVERIFY(dialog.handleEvent(Event_TableCellClick, 1026 + (1 - tab), 0, QStringLiteral("0"), nullptr));
        QCOMPARE(shown.at(1).at(0).toString(), content);
        QVERIFY(dialog.handleEvent(Event_TableCellClick, 1026, 0, QStringLiteral("x"), nullptr)); // read as row 0
        QCOMPARE(shown.at(2).at(0).toString(), content);
        dialog.handleEvent(Event_TableCellClick, 1026, 0, QStringLiteral("7"), nullptr);
        QCOMPARE(shown.at(3).at(0).toString(), QString());
    }

    void aRefillReplacesEveryRow()
    {
        NoticeStore important;
        NoticeStore ordinary;
        for (int i = 0; i < 5; ++i)
            store(ordinary, "SZ", notice(i, 0, "旧" + std::to_string(i), "旧正文"));
        NoticeDialog dialog(nullptr);
        dialog.setNoticeData(important, ordinary);
        NoticeStore fresh;
        store(fresh, "SZ", notice(9, 2, "新", "新正文"));
        dialog.setNoticeData(fresh, NoticeStore());
        CStandardTableEx* table = dialog.shenzhenTable();
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(row(table, 0).at(0), QStringLiteral("新"));
        QCOMPARE(dialog.contents().value(QStringLiteral("SZ")).values(), QStringList{QStringLiteral("新正文")});
        QCOMPARE(titles(table)->itemText(QStringLiteral("4")), QString());
    }

    void aTitleClickedInTheListOpensTheTickersDetail()
    {
        QWidget window;
        auto* ticker = new CNoticeWidget(&window);
        ticker->onNoticeData(0, QuoterStatus_Full, batch({notice(1, 0, "沪市公告", "沪市正文")}), QStringLiteral("SH"));
        ticker->handleEvent(Event_Activate, 1026, 0, QString(), nullptr);
        NoticeDialog* list = ticker->listDialog();
        QVERIFY(list);
        QVERIFY(QTest::qWaitForWindowExposed(list));
        clickTitle(list->shanghaiTable(), 0);
        QVERIFY(ticker->detailDialog() && ticker->detailDialog()->isVisible());
        QCOMPARE(ticker->detailDialog()->textEdit()->text(), QStringLiteral("沪市正文"));
        list->close();
        ticker->detailDialog()->close();
    }

    void theDetailDialogTakesItsSizesFromTheTheme()
    {
        CNoticeInfoItemDialog detail(nullptr);
        const CUiResource* resource = CUiResource::instance();
        QCOMPARE(detail.minimumSize(), QSize(resource->getSize(QStringLiteral("tc_siz_information_widget_width")),
                                             resource->getSize(QStringLiteral("tc_siz_information_widget_height"))));
        QCOMPARE(detail.size(), QSize(resource->getSize(QStringLiteral("tc_siz_mainwindow_width_min")),
                                      resource->getSize(QStringLiteral("tc_siz_mainwindow_height_min"))));
        QCOMPARE(detail.title(), QStringLiteral("公告"));
        QVERIFY(!detail.textEdit()->isEditable());
        QCOMPARE(detail.innerWidget(), detail.textEdit());
    }
};

STATUSBAR_TEST_MAIN(TestNoticeDialog)
#include "tst_noticedialog.moc"
