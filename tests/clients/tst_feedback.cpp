#include <logcapture.h>
#include <testmain.h>

#include <terminalhost/advicefeedbackdialog.h>
#include <terminalhost/config.h>
#include <terminalhost/messagetip.h>
#include <terminalhost/smallnormalbutton.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/widgetcenterscreen.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <memory>

#include <sys/mount.h>
#include <unistd.h>

namespace {
constexpr int kTipLifeSeconds = 3;
constexpr int kTipFadeMs = 300;
constexpr int kKeptTipLife = -1;
const QColor kTerminalColor(0x33, 0x66, 0xCC);
const QSize kTerminalSize(420, 260);

// Stands in for the terminal's main window: one flat colour, so its picture is easy to recognise.
std::unique_ptr<QWidget> showTerminalWindow()
{
    auto window = std::make_unique<QWidget>();
    window->setObjectName(QStringLiteral("terminal"));
    window->setFixedSize(kTerminalSize);
    window->setStyleSheet(QStringLiteral("QWidget#terminal { background: %1; }").arg(kTerminalColor.name()));
    window->setAttribute(Qt::WA_StyledBackground);
    window->move(20, 20);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

// A window with one small widget near its bottom, as a launcher icon sits in the status bar.
struct IconWindow {
    QWidget window;
    QWidget* icon = new QWidget(&window);
    explicit IconWindow(int y, int iconY = 30)
    {
        window.setGeometry(200, y, 300, 60);
        icon->setGeometry(40, iconY, 20, 20);
        window.show();
    }
};

template <typename T>
T* field(const QDialog& dialog, const char* name)
{
    return dialog.findChild<T*>(QLatin1String(name));
}

void fillIn(CAdviceFeedBackDialog& dialog, const QString& content)
{
    field<QComboBox>(dialog, "feedback_category")->setCurrentText(QStringLiteral("功能建议"));
    field<QPlainTextEdit>(dialog, "feedback_content")->setPlainText(content);
    field<QLineEdit>(dialog, "feedback_contact")->setText(QStringLiteral("13800000000"));
}

void clickSubmit(CAdviceFeedBackDialog& dialog)
{
    QTest::mouseClick(field<CSmallNormalButton>(dialog, "feedback_submit"), Qt::LeftButton);
}

enum class Obstacle { None, FileForFolder, FullDisk, ReadOnlyFolder };

// A tiny tmpfs mounted on a folder while it lives: a real full or read-only file system. Mounting
// needs CAP_SYS_ADMIN; otherwise error says what stood in the way.
struct ScratchDisk {
    QString path;
    QString error;
    ScratchDisk(const QString& folder, bool readOnly)
        : path(folder)
    {
        QDir().mkpath(path);
        if (::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", readOnly ? MS_RDONLY : 0, "size=64k") != 0)
            error = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~ScratchDisk()
    {
        if (error.isEmpty())
            ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }
    // Makes the folder, then fills the disk until not one more byte fits.
    bool fillAround(const QString& folder)
    {
        QFile filler(path + QStringLiteral("/filler"));
        if (!QDir().mkpath(folder) || !filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        while (filler.write(QByteArray(4096, 'x')) > 0) {
        }
        return filler.error() != QFileDevice::NoError;
    }
};

// Receives what QDesktopServices would hand to the desktop browser.
class BrowserStandIn : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};
}

Q_DECLARE_METATYPE(Obstacle)

class TestFeedback : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        resetHost();
        QVERIFY(m_dataDir.isValid());
        CAdviceFeedBackDialog::setFeedbackDir(m_dataDir.filePath(QStringLiteral("feedback")));
        QDir(CAdviceFeedBackDialog::feedbackDir()).removeRecursively();
        m_log.clear();
    }

    void capturesTheTerminalWindowBeforeTheDialogShows_data()
    {
        QTest::addColumn<bool>("terminalIsParent");
        QTest::newRow("dialog on the terminal window") << true;
        QTest::newRow("dialog without a parent") << false;
    }
    void capturesTheTerminalWindowBeforeTheDialogShows()
    {
        QFETCH(bool, terminalIsParent);
        const auto terminal = showTerminalWindow();
        QVERIFY(terminal);
        CAdviceFeedBackDialog dialog(terminalIsParent ? terminal.get() : nullptr, true);
        widgetCenterScreen(terminal.get(), &dialog);
        QVERIFY(!dialog.isVisible());

        dialog.screenCapture();
        QVERIFY(dialog.isVisible());
        const QImage picture = dialog.capture().toImage();
        QCOMPARE(picture.size(), kTerminalSize);
        QCOMPARE(picture.pixelColor(kTerminalSize.width() / 2, kTerminalSize.height() / 2), kTerminalColor);
        QVERIFY(field<QCheckBox>(dialog, "feedback_attach_capture")->isChecked());
        QVERIFY(!field<QLabel>(dialog, "feedback_capture")->pixmap(Qt::ReturnByValue).isNull());
        field<QLineEdit>(dialog, "feedback_contact")->setText(QStringLiteral("13800000000"));
        // The form follows a theme switch while it is open.
        for (const QString& theme : CUiResource::builtInThemes()) {
            QVERIFY(CUiResource::instance()->setTheme(theme));
            const QImage look = dialog.grab().toImage();
            look.save(QStringLiteral("feedback-dialog-%1.png").arg(theme));
            const QLineEdit* contact = field<QLineEdit>(dialog, "feedback_contact");
            const QPoint inside = contact->mapTo(&dialog, QPoint(contact->width() - 4, contact->height() / 2));
            QCOMPARE(look.pixelColor(inside), CUiResource::instance()->getColor(QStringLiteral("clr_edit_background")));
        }
    }

    void submittingWritesTheReportWhereTheDialogSays_data()
    {
        QTest::addColumn<bool>("withScreenCapture");
        QTest::addColumn<bool>("captured");
        QTest::addColumn<bool>("attach");
        QTest::addColumn<bool>("toServer");
        QTest::newRow("with the picture, for the service centre") << true << true << true << true;
        QTest::newRow("picture taken but left out") << true << true << false << false;
        QTest::newRow("opened by a click, no picture") << true << false << false << true;
        QTest::newRow("login window's form") << false << true << false << false;
    }
    void submittingWritesTheReportWhereTheDialogSays()
    {
        QFETCH(bool, withScreenCapture);
        QFETCH(bool, captured);
        QFETCH(bool, attach);
        QFETCH(bool, toServer);
        const auto terminal = showTerminalWindow();
        QVERIFY(terminal);
        CAdviceFeedBackDialog dialog(nullptr, withScreenCapture);
        dialog.set2Server(toServer);
        QVERIFY(field<QLabel>(dialog, "feedback_mode")->text().contains(toServer ? QStringLiteral("客服中心") : QStringLiteral("仅保存在本机")));
        if (captured)
            dialog.screenCapture();
        else
            dialog.show();
        if (QCheckBox* attachBox = field<QCheckBox>(dialog, "feedback_attach_capture"))
            attachBox->setChecked(attach);
        QCOMPARE(field<QLabel>(dialog, "feedback_capture") != nullptr, withScreenCapture);

        fillIn(dialog, QStringLiteral("  行情刷新慢  "));
        clickSubmit(dialog);

        const QStringList reports = QDir(CAdviceFeedBackDialog::feedbackDir()).entryList({QStringLiteral("*.json")});
        QCOMPARE(reports.size(), 1);
        const QString reportPath = QDir(CAdviceFeedBackDialog::feedbackDir()).filePath(reports.first());
        QVERIFY2(dialog.statusText().contains(QDir::toNativeSeparators(reportPath)), qPrintable(dialog.statusText()));
        QCOMPARE(m_log.lines(), QStringList{QStringLiteral("INFO feedback report written to ") + reportPath});
        QFile file(reportPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject report = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(report.value(QStringLiteral("category")).toString(), QStringLiteral("功能建议"));
        QCOMPARE(report.value(QStringLiteral("content")).toString(), QStringLiteral("行情刷新慢"));
        QCOMPARE(report.value(QStringLiteral("contact")).toString(), QStringLiteral("13800000000"));
        QCOMPARE(report.value(QStringLiteral("uploadToServer")).toBool(), toServer);

        const bool pictureWritten = withScreenCapture && captured && attach;
        const QStringList pictures = QDir(CAdviceFeedBackDialog::feedbackDir()).entryList({QStringLiteral("*.png")});
        QCOMPARE(pictures.size(), pictureWritten ? 1 : 0);
        if (pictureWritten) {
            QCOMPARE(report.value(QStringLiteral("screenshot")).toString(), pictures.first());
            QCOMPARE(QImage(QDir(CAdviceFeedBackDialog::feedbackDir()).filePath(pictures.first())).size(), kTerminalSize);
        } else {
            QVERIFY(report.value(QStringLiteral("screenshot")).isNull());
        }
        QVERIFY2(field<QPlainTextEdit>(dialog, "feedback_content")->toPlainText().isEmpty(), "the next report should start empty");
    }

    void aReportThatCannotGoOutKeepsWhatTheUserTyped_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<Obstacle>("obstacle");
        QTest::addColumn<bool>("withPicture");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing written") << QStringLiteral("   ") << Obstacle::None << false << QStringLiteral("请填写反馈内容");
        QTest::newRow("folder cannot be made") << QStringLiteral("下单按钮无响应") << Obstacle::FileForFolder << false << QStringLiteral("无法创建文件夹");
        QTest::newRow("disk full") << QStringLiteral("下单按钮无响应") << Obstacle::FullDisk << false << QStringLiteral("无法写入");
        QTest::newRow("disk full, with a picture") << QStringLiteral("下单按钮无响应") << Obstacle::FullDisk << true << QStringLiteral("无法写入");
        QTest::newRow("read-only folder") << QStringLiteral("下单按钮无响应") << Obstacle::ReadOnlyFolder << true << QStringLiteral("无法写入");
    }
    void aReportThatCannotGoOutKeepsWhatTheUserTyped()
    {
        QFETCH(QString, content);
        QFETCH(Obstacle, obstacle);
        QFETCH(bool, withPicture);
        QFETCH(QString, expected);
        QString dir = CAdviceFeedBackDialog::feedbackDir();
        std::unique_ptr<ScratchDisk> disk;
        if (obstacle == Obstacle::FileForFolder) {
            // A plain file where the folder's parent should be.
            QFile blocker(m_dataDir.filePath(QStringLiteral("blocker")));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            dir = blocker.fileName() + QStringLiteral("/feedback");
        } else if (obstacle == Obstacle::ReadOnlyFolder && geteuid() != 0) {
            QVERIFY(QDir().mkpath(dir) && QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
        } else if (obstacle != Obstacle::None) {
            // Root writes into any folder, so a read-only one needs a read-only file system.
            disk = std::make_unique<ScratchDisk>(m_dataDir.filePath(QStringLiteral("disk")), obstacle == Obstacle::ReadOnlyFolder);
            if (!disk->error.isEmpty())
                QSKIP(qPrintable(QStringLiteral("no small file system could be mounted here: ") + disk->error));
            dir = obstacle == Obstacle::FullDisk ? disk->path + QStringLiteral("/feedback") : disk->path;
            QVERIFY(obstacle == Obstacle::ReadOnlyFolder || disk->fillAround(dir));
        }
        CAdviceFeedBackDialog::setFeedbackDir(dir);
        CAdviceFeedBackDialog dialog(nullptr, true);
        if (withPicture)
            dialog.screenCapture();
        else
            dialog.show();
        fillIn(dialog, content);
        QVERIFY(dialog.submit().isEmpty());
        QVERIFY2(dialog.statusText().startsWith(expected), qPrintable(dialog.statusText()));
        if (obstacle != Obstacle::None)
            QVERIFY2(dialog.statusText().contains(QDir::toNativeSeparators(dir)), qPrintable(dialog.statusText()));
        QCOMPARE(field<QPlainTextEdit>(dialog, "feedback_content")->toPlainText(), content);
        QCOMPARE(field<QCheckBox>(dialog, "feedback_attach_capture")->isChecked(), withPicture);
        QCOMPARE(dialog.capture().isNull(), !withPicture);
        QCOMPARE(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList());
        for (const QString& line : m_log.lines())
            QVERIFY2(line.startsWith(QLatin1String("WARN")), qPrintable(line));
    }

    void opensTheFeedbackAddressOfTheInstallation_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("opened");
        QTest::newRow("no address") << QString() << QString();
        QTest::newRow("only spaces") << QStringLiteral("   ") << QString();
        QTest::newRow("without a scheme") << QStringLiteral("feedback.example.org/advice") << QStringLiteral("http://feedback.example.org/advice");
        QTest::newRow("full address") << QStringLiteral(" https://service.example.com/fb?from=terminal ")
                                      << QStringLiteral("https://service.example.com/fb?from=terminal");
    }
    void opensTheFeedbackAddressOfTheInstallation()
    {
        QFETCH(QString, address);
        QFETCH(QString, opened);
        const QString path = m_dataDir.filePath(QStringLiteral("terminal.json"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(QJsonObject{{QStringLiteral("feedbackAddress"), address}}).toJson());
        file.close();
        QString error;
        QVERIFY2(getConfig()->load(path, &error), qPrintable(error));

        BrowserStandIn browser;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
        const bool result = CAdviceFeedBackDialog::openFeedbackAddress();
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

        QCOMPARE(result, !opened.isEmpty());
        QCOMPARE(browser.opened, opened.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(opened)});
    }

    void aTransientTipShowsBesideItsWidgetAndGoes_data()
    {
        QTest::addColumn<int>("windowY");
        QTest::addColumn<int>("iconY");
        QTest::addColumn<bool>("above");
        QTest::newRow("room above the widget") << 400 << 30 << true;
        QTest::newRow("widget at the top of the screen") << 0 << 2 << false;
    }
    void aTransientTipShowsBesideItsWidgetAndGoes()
    {
        QFETCH(int, windowY);
        QFETCH(int, iconY);
        QFETCH(bool, above);
        IconWindow owner(windowY, iconY);
        QVERIFY(QTest::qWaitForWindowExposed(&owner.window));
        const QString text = QStringLiteral("极简交易正在运行");
        CMessageTip* tip = CMessageTip::showTip(owner.icon, MessageTip_AboveLeft, text, kTipLifeSeconds, kTipFadeMs);
        QVERIFY(tip && tip->isVisible());
        QCOMPARE(tip->content(), text);
        QCOMPARE(tip->widget(), owner.icon);
        const QFontMetrics metrics(CUiResource::instance()->getFont(QStringLiteral("fnt_default_normal")));
        QVERIFY2(tip->width() > metrics.horizontalAdvance(text), "the text does not fit in the tip");

        const QRect icon(owner.icon->mapToGlobal(QPoint(0, 0)), owner.icon->size());
        QCOMPARE(tip->pos(), tip->getPoint(owner.icon, MessageTip_AboveLeft));
        QCOMPARE(tip->x(), icon.left());
        if (above)
            QVERIFY2(tip->geometry().bottom() < icon.top(), "the tip should sit above the widget");
        else
            QVERIFY2(tip->y() > icon.bottom(), "with no room above, the tip should sit below the widget");

        QSignalSpy gone(tip, &QObject::destroyed);
        tip->slotLifeEnded();
        QTRY_COMPARE_WITH_TIMEOUT(gone.count(), 1, 5 * kTipFadeMs);
    }

    void aNewTransientTipTakesThePlaceOfTheLastOne()
    {
        IconWindow owner(400);
        CMessageTip* first = CMessageTip::showTip(owner.icon, MessageTip_AboveLeft, QStringLiteral("极简交易正在运行"), kTipLifeSeconds, kTipFadeMs);
        QSignalSpy firstGone(first, &QObject::destroyed);
        CMessageTip* second = CMessageTip::showTip(owner.icon, MessageTip_AboveLeft, QStringLiteral("miniQuote正在运行"), kTipLifeSeconds, kTipFadeMs);
        QVERIFY(second->isVisible());
        QTRY_COMPARE(firstGone.count(), 1);
        QVERIFY(second->isVisible());
    }

    void aKeptTipStaysUntilItsWidgetHides()
    {
        IconWindow owner(400);
        CMessageTip tip(owner.icon, kKeptTipLife, kTipFadeMs);
        tip.setAttribute(Qt::WA_DeleteOnClose, false);
        tip.setContent(QStringLiteral("启动中..."));
        tip.move(tip.getPoint(owner.icon, MessageTip_AboveLeft));
        tip.setWidget(owner.icon);
        tip.show();
        QVERIFY(tip.isVisible());
        owner.window.hide();
        QVERIFY2(!tip.isVisible(), "a tip pointing at a hidden widget should hide with it");
        owner.window.show();
        tip.show();
        tip.close();
        QVERIFY2(!tip.isVisible(), "closing a kept tip hides it");
    }

    void theTipTakesTheThemeColours_data()
    {
        QTest::addColumn<QString>("theme");
        for (const QString& theme : CUiResource::builtInThemes())
            QTest::newRow(qPrintable(theme)) << theme;
    }
    void theTipTakesTheThemeColours()
    {
        QFETCH(QString, theme);
        QVERIFY(CUiResource::instance()->setTheme(theme));
        IconWindow owner(400);
        CMessageTip tip(owner.icon, kKeptTipLife, kTipFadeMs);
        tip.setContent(QStringLiteral("启动中..."));
        const QImage picture = tip.grab().toImage();
        picture.save(QStringLiteral("message-tip-%1.png").arg(theme));
        QCOMPARE(picture.pixelColor(2, 2), CUiResource::instance()->getColor(QStringLiteral("clr_message_tip_background")));
        QCOMPARE(picture.pixelColor(0, 0), CUiResource::instance()->getColor(QStringLiteral("clr_message_tip_border")));
    }

    void centresTheWidgetOnTheScreen_data()
    {
        QTest::addColumn<bool>("withReference");
        QTest::addColumn<bool>("sizedBefore");
        QTest::newRow("no reference, sized widget") << false << true;
        QTest::newRow("on the reference's screen, widget never sized") << true << false;
    }
    void centresTheWidgetOnTheScreen()
    {
        QFETCH(bool, withReference);
        QFETCH(bool, sizedBefore);
        IconWindow reference(400);
        QLabel subject(QStringLiteral("意见反馈"));
        if (sizedBefore)
            subject.resize(300, 200);
        widgetCenterScreen(withReference ? &reference.window : nullptr, &subject);
        QCOMPARE(subject.size(), sizedBefore ? QSize(300, 200) : subject.sizeHint());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QPoint centre = subject.geometry().center();
        QVERIFY2(qAbs(centre.x() - area.center().x()) <= 1 && qAbs(centre.y() - area.center().y()) <= 1,
                 qPrintable(QStringLiteral("centre %1,%2").arg(centre.x()).arg(centre.y())));
    }

private:
    QTemporaryDir m_dataDir;
    LogCapture m_log{"Feedback"};
};

STATUSBAR_TEST_MAIN(TestFeedback)
#include "tst_feedback.moc"
