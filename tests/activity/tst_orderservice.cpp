#include <testmain.h>

#include <eventrecorder.h>

#include <statusbar/floatserviceswitchwidget.h>
#include <statusbar/orderstrategywidget.h>
#include <statusbar/serviceswitchcheckbox.h>
#include <statusbar/statusbarevents.h>

#include <terminalhost/imagewidget.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/orderservice.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/userconfig.h>

#include <QToolTip>

Q_DECLARE_METATYPE(QVector<int>)

namespace {
const QString kRestBackground = QStringLiteral("clr_statusbar_item_default_bg");
const QString kRestBorder = QStringLiteral("clr_statusbar_item_default_border");
const QString kHoverBorder = QStringLiteral("clr_statusbar_item_enter_border");

void offerServices(bool file, bool dbf, bool csv)
{
    getUserConfig()->setHasFileOrderService(file);
    getUserConfig()->setHasDbfOrderService(dbf);
    getUserConfig()->setHasCsvOrderService(csv);
}

// The item in the bottom row of a shown main window, so that global positions are real.
struct ShownItem {
    QWidget window;
    COrderStrategyWidget* item = new COrderStrategyWidget(&window);
    ShownItem()
    {
        window.setGeometry(200, 400, 200, 24);
        item->setGeometry(40, 0, item->width(), 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    CFloatServiceSwitchWidget* press(Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(item, button, {}, QPoint(10, 10));
        return item->menu();
    }
};
}

class TestOrderService : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }
    void cleanup() { QToolTip::hideText(); }

    void iconFollowsTheOrderServiceState()
    {
        COrderService::instance()->setRunning(true);
        COrderStrategyWidget item;
        const auto* icon = item.findChild<CImageWidget*>();
        QCOMPARE(icon->imageKey(), QStringLiteral("tc_img_status_bar_orderstrategy_running"));
        COrderService::instance()->setRunning(false);
        QCOMPARE(icon->imageKey(), QStringLiteral("tc_img_status_bar_orderstrategy_none"));
        QCOMPARE(item.width(), 29);
    }

    void menuOffersTheAvailableServicesAboveTheItem_data()
    {
        QTest::addColumn<bool>("renameGranted");
        QTest::addColumn<bool>("file");
        QTest::addColumn<bool>("dbf");
        QTest::addColumn<bool>("csv");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("height");
        QTest::addColumn<QVector<int>>("rowsY");
        const QString file = QStringLiteral("文件单");
        const QString dbf = QStringLiteral("批量埋单");
        const QString csv = QStringLiteral("CSV预埋");
        QTest::newRow("file only") << false << true << false << false << QStringList{file} << 68 << QVector<int>{14};
        QTest::newRow("file only, renamed by the module right")
            << true << true << false << false << QStringList{QStringLiteral("便捷交易")} << 68 << QVector<int>{14};
        QTest::newRow("file and dbf") << false << true << true << false << QStringList{file, dbf} << 68 << QVector<int>{14, 34};
        QTest::newRow("dbf and csv") << false << false << true << true << QStringList{dbf, csv} << 68 << QVector<int>{14, 34};
        QTest::newRow("all three") << false << true << true << true << QStringList{file, dbf, csv} << 98 << QVector<int>{19, 39, 59};
    }
    void menuOffersTheAvailableServicesAboveTheItem()
    {
        QFETCH(bool, renameGranted);
        QFETCH(bool, file);
        QFETCH(bool, dbf);
        QFETCH(bool, csv);
        QFETCH(QStringList, texts);
        QFETCH(int, height);
        QFETCH(QVector<int>, rowsY);
        LuaModuleCtrl::setModule({QStringLiteral("mdl_auth"), QStringLiteral("mdl_auth_order_service_rename")}, renameGranted);
        offerServices(file, dbf, csv);
        ShownItem shown;
        CFloatServiceSwitchWidget* menu = shown.press();
        QVERIFY2(menu && menu->isVisible(), "a left press opened no menu");
        QCOMPARE(menu->rows().size(), texts.size());
        for (int index = 0; index < texts.size(); ++index) {
            const CServiceSwitchCheckBox* row = menu->rows().at(index);
            QCOMPARE(row->text(), texts.at(index));
            QCOMPARE(row->pos(), QPoint(10, rowsY.at(index)));
            QVERIFY2(row->x() + row->textWidget()->x() + row->textWidget()->width() < menu->width(), "the entry is clipped");
        }
        QCOMPARE(menu->height(), height);
        QCOMPARE(menu->pos(), shown.item->mapToGlobal(QPoint(0, 0)) + QPoint(0, 12 - height));
    }

    void pressesThatOpenNoMenu_data()
    {
        QTest::addColumn<bool>("csvOnly");
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("border");
        QTest::newRow("left press with only the CSV service") << true << int(Qt::LeftButton) << kHoverBorder;
        QTest::newRow("right press with every service") << false << int(Qt::RightButton) << kRestBorder;
    }
    void pressesThatOpenNoMenu()
    {
        QFETCH(bool, csvOnly);
        QFETCH(int, button);
        QFETCH(QString, border);
        offerServices(!csvOnly, !csvOnly, true);
        ShownItem shown;
        QVERIFY(!shown.press(Qt::MouseButton(button)));
        QCOMPARE(shown.item->frame().borderKey(), border);
    }

    void choosingAnEntryHidesTheMenuAndAsksTheMainWindowToOpenIt_data()
    {
        QTest::addColumn<int>("rowIndex");
        QTest::addColumn<int>("arg");
        QTest::newRow("file orders") << 0 << 1;
        QTest::newRow("batch pre-placed orders") << 1 << 3;
        QTest::newRow("CSV pre-placed orders") << 2 << 4;
    }
    void choosingAnEntryHidesTheMenuAndAsksTheMainWindowToOpenIt()
    {
        QFETCH(int, rowIndex);
        QFETCH(int, arg);
        offerServices(true, true, true);
        EventRecorder mainWindow;
        ShownItem shown;
        CFloatServiceSwitchWidget* menu = shown.press();
        QTest::mousePress(menu->rows().at(rowIndex), Qt::LeftButton, {}, QPoint(30, 10));
        QVERIFY(!menu->isVisible());
        QCOMPARE(mainWindow.events().size(), 1);
        QCOMPARE(mainWindow.events().first().type, StatusBarEvent::OpenOrderService);
        QCOMPARE(mainWindow.events().first().arg, arg);
    }

    void hoverShowsTheServiceStatusAndLightsTheItem()
    {
        const QString tip = QStringLiteral("文件单: 运行中\n批量埋单: 已停止");
        COrderService::instance()->setStatusBarTip(tip);
        ShownItem shown;
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(shown.item, &enter);
        QTRY_COMPARE(QToolTip::text(), tip);
        QCOMPARE(shown.item->frame().backgroundKey(), QStringLiteral("clr_statusbar_item_enter_bg"));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(shown.item, &leave);
        QCOMPARE(shown.item->frame().backgroundKey(), kRestBackground);
    }
};

STATUSBAR_TEST_MAIN(TestOrderService)
#include "tst_orderservice.moc"
