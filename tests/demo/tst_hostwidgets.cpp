#include <testmain.h>

#include <eventrecorder.h>

#include <statusbar/floatserviceswitchwidget.h>
#include <statusbar/netspeeddialog.h>
#include <statusbar/popcommonpaneldialog.h>
#include <statusbar/serviceswitchcheckbox.h>

#include <terminalhost/cefviewmanager.h>
#include <terminalhost/commondialog.h>
#include <terminalhost/config.h>
#include <terminalhost/eventdeliverer.h>
#include <terminalhost/hostreset.h>
#include <terminalhost/magnifierwidget.h>
#include <terminalhost/uiresource.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>

#include <memory>

namespace {
constexpr int kPageTimeoutMs = 60000; // the first page load of the web engine is slow on two cores

// Stands for a child that takes every key, as an embedded page or a table does.
class KeyEater : public QWidget
{
public:
    explicit KeyEater(QWidget* parent)
        : QWidget(parent)
    {
        setFocusPolicy(Qt::StrongFocus);
    }
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        ++keys;
        event->accept();
    }
};

void moveWithLeftButton(QWidget* widget, const QPoint& pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QColor colour(const char* key)
{
    return CUiResource::instance()->getColor(QLatin1String(key));
}

// Shows the dialog, gives child the keyboard focus and presses Escape there.
void pressEscapeIn(QDialog* dialog, QWidget* child)
{
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    child->setFocus();
    QTRY_VERIFY2(child->hasFocus(), "the child never took the focus");
    QTest::keyClick(child, Qt::Key_Escape);
}
}

class TestHostWidgets : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        resetHost();
    }

    void draggingTheZoomKnobDeliversTheScaleOnceOnRelease_data()
    {
        QTest::addColumn<int>("uiPercent");
        for (int percent : {100, 80, 150, 200})
            QTest::addRow("at %d %%", percent) << percent;
    }
    void draggingTheZoomKnobDeliversTheScaleOnceOnRelease()
    {
        QFETCH(int, uiPercent);
        CUiResource::instance()->setUIScale(uiPercent / 100.0);
        EventRecorder recorder;
        QWidget window;
        auto* magnifier = new CMagnifierWidget(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // A drag of 41 px at full size, as far at the UI's scale, goes four steps: not to 190 %.
        const QPoint from = magnifier->knobCentre(100);
        const QPoint to = from + QPoint(CUiResource::instance()->scaledPx(41), 0);
        QTest::mousePress(magnifier, Qt::LeftButton, {}, from);
        for (int x = from.x() + 1; x <= to.x(); ++x)
            moveWithLeftButton(magnifier, QPoint(x, from.y()));
        QCOMPARE(recorder.count(Event_UiScale), 0); // nothing is rebuilt under a drag in progress
        QTest::mouseRelease(magnifier, Qt::LeftButton, {}, to);

        QCOMPARE(magnifier->fontScale(), 140);
        QCOMPARE(recorder.events().size(), 1);
        QCOMPARE(recorder.events().first().type, int(Event_UiScale));
        QCOMPARE(recorder.events().first().arg, 140);
    }

    void theZoomKnobStopsAtTheEndsOfTheTrack()
    {
        EventRecorder recorder;
        QWidget window;
        auto* magnifier = new CMagnifierWidget(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QPoint knob = magnifier->knobCentre(100);
        QTest::mousePress(magnifier, Qt::LeftButton, {}, knob);
        moveWithLeftButton(magnifier, QPoint(magnifier->width() * 2, knob.y()));
        QTest::mouseRelease(magnifier, Qt::LeftButton, {}, QPoint(magnifier->width() - 1, knob.y()));
        QCOMPARE(magnifier->fontScale(), CMagnifierWidget::kMaxPercent);
        QCOMPARE(recorder.count(Event_UiScale), 1);
    }

    void aPlainClickOnTheZoomTrackStaysAClick()
    {
        EventRecorder recorder;
        QWidget window;
        auto* magnifier = new CMagnifierWidget(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTest::mouseClick(magnifier, Qt::LeftButton, {}, magnifier->knobCentre(150));
        QCOMPARE(magnifier->fontScale(), 100);
        QCOMPARE(recorder.count(Event_UiScale), 0);
        QCOMPARE(recorder.count(Event_Click), 1);
    }

    void theOrderServiceMenuLightsTheRowUnderThePointer_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::newRow("dark") << QStringLiteral("dark");
        QTest::newRow("light") << QStringLiteral("light");
    }

    void theOrderServiceMenuLightsTheRowUnderThePointer()
    {
        QFETCH(QString, theme);
        QVERIFY(CUiResource::instance()->setTheme(theme));
        CFloatServiceSwitchWidget menu;
        menu.addService(QStringLiteral("文件单"), 1);
        menu.addService(QStringLiteral("批量埋单"), 3);
        menu.resize(120, 120);
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        CServiceSwitchCheckBox* first = menu.rows().at(0);
        CServiceSwitchCheckBox* second = menu.rows().at(1);
        // A point of each row left of its text, where only the window's painting shows.
        const QPoint firstSpot(3, first->geometry().center().y());
        const QPoint secondSpot(3, second->geometry().center().y());

        QTest::mouseMove(first, QPoint(first->width() / 2, first->height() / 2));
        QTRY_COMPARE(menu.hoveredRow(), first);
        QImage shot = menu.grab().toImage();
        QCOMPARE(shot.pixelColor(firstSpot), colour("clr_menu_selected_background"));
        QCOMPARE(shot.pixelColor(secondSpot), colour("clr_menu_background"));
        QVERIFY(colour("clr_menu_selected_background") != colour("clr_menu_background"));

        QTest::mouseMove(second, QPoint(second->width() / 2, second->height() / 2));
        QTRY_COMPARE(menu.hoveredRow(), second);
        shot = menu.grab().toImage();
        QCOMPARE(shot.pixelColor(firstSpot), colour("clr_menu_background"));
        QCOMPARE(shot.pixelColor(secondSpot), colour("clr_menu_selected_background"));
    }

    void escapeClosesADialogWhateverChildHasTheFocus()
    {
        CCommonDialog dialog(nullptr);
        dialog.setTitle(QStringLiteral("网络延迟"));
        auto* eater = new KeyEater(nullptr);
        dialog.setInnerWidget(eater);
        dialog.resize(300, 200);
        QSignalSpy rejected(&dialog, &QDialog::rejected);

        pressEscapeIn(&dialog, eater);
        QCOMPARE(rejected.count(), 1);
        QVERIFY(!dialog.isVisible());
    }

    void escapeClosesTheLatencyChartWhileItsPageHasTheFocus()
    {
        getConfig()->setUseWebView(true);
        CNetSpeedDialog dialog(nullptr);
        QVERIFY(dialog.webView());
        QSignalSpy loaded(&dialog, &CNetSpeedDialog::sigLoadFinished);
        QSignalSpy rejected(&dialog, &QDialog::rejected);
        dialog.show();
        QVERIFY(loaded.count() > 0 || loaded.wait(kPageTimeoutMs));
        QWidget* page = dialog.webView()->focusProxy() ? dialog.webView()->focusProxy() : dialog.webView();

        pressEscapeIn(&dialog, page);
        QTRY_COMPARE(rejected.count(), 1);
        QVERIFY(!dialog.isVisible());
    }

    void dialogsShowNoStripBelowTheirContent_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::newRow("dark") << QStringLiteral("dark");
        QTest::newRow("light") << QStringLiteral("light");
    }

    void dialogsShowNoStripBelowTheirContent()
    {
        QFETCH(QString, theme);
        QVERIFY(CUiResource::instance()->setTheme(theme));
        CCommonDialog dialog(nullptr);
        dialog.setTitle(QStringLiteral("网络延迟"));
        auto* inner = new QWidget;
        inner->setAutoFillBackground(true);
        QPalette palette = inner->palette();
        palette.setColor(QPalette::Window, Qt::magenta); // any colour the theme never uses
        inner->setPalette(palette);
        dialog.setInnerWidget(inner);
        dialog.resize(300, 200);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        // The inner widget reaches the dialog's bottom edge and sides: its colour is on the last row.
        const QImage shot = dialog.grab().toImage();
        const int bottom = shot.height() - 1;
        for (int x : {0, shot.width() / 2, shot.width() - 1})
            QCOMPARE(shot.pixelColor(x, bottom), QColor(Qt::magenta));
    }

    // Also registered to run on a 1366 x 768 laptop screen.
    void dialogsKeepTheirSizeWhereTheScreenHasRoomElseFitIt_data()
    {
        QTest::addColumn<QSize>("written"); // empty: the orders panel's own
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QPoint>("placedAt"); // by the owner; null: QDialog centres it
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QTest::newRow("room") << QSize(620, 550) << false << QPoint();
        QTest::newRow("the orders panel") << QSize() << false << QPoint();
        QTest::newRow("taller than the screen") << QSize(400, screen.height() + 60) << false << QPoint();
        QTest::newRow("fixed and larger") << screen.size() + QSize(50, 50) << true << QPoint();
        QTest::newRow("placed past the corner") << QSize(400, 300) << false << screen.bottomRight() - QPoint(100, 100);
    }

    void dialogsKeepTheirSizeWhereTheScreenHasRoomElseFitIt()
    {
        QFETCH(QSize, written);
        QFETCH(bool, fixed);
        QFETCH(QPoint, placedAt);
        std::unique_ptr<CCommonDialog> dialog;
        if (written.isEmpty()) {
            dialog = std::make_unique<CPopCommonPanelDialog>(CPopCommonPanelDialog::kOrdersKind, nullptr);
            written = dialog->size();
        } else {
            dialog = std::make_unique<CCommonDialog>(nullptr);
            fixed ? dialog->setFixedSize(written) : dialog->resize(written);
        }
        if (!placedAt.isNull())
            dialog->move(placedAt);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        const QRect available = dialog->screen()->availableGeometry();
        QCOMPARE(dialog->size(), written.boundedTo(available.size()));
        QVERIFY2(available.contains(dialog->frameGeometry()),
                 qPrintable(QStringLiteral("at %1,%2 on %3x%4").arg(dialog->x()).arg(dialog->y()).arg(available.width()).arg(available.height())));
    }
};

STATUSBAR_TEST_MAIN(TestHostWidgets)
#include "tst_hostwidgets.moc"
