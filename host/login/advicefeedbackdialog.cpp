#include "advicefeedbackdialog.h"

#include <terminalhost/config.h>
#include <terminalhost/eventdeliverer.h>
#include <terminalhost/smallnormalbutton.h>
#include <terminalhost/uiresource.h>

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#include <log4cxx/logger.h>

namespace {
constexpr int kSubmitButtonId = 1;
constexpr int kCloseButtonId = 2;
constexpr int kDialogWidth = 460;
constexpr int kDialogHeight = 520;
constexpr int kThumbnailWidth = 240;
constexpr int kThumbnailHeight = 150;
constexpr int kContentHeight = 110;
constexpr int kFormMargin = 16;
constexpr int kFormSpacing = 10;
const char kLoggerName[] = "Feedback";
const char kFontKey[] = "fnt_default_normal";
const char kFileTimeFormat[] = "yyyyMMdd-HHmmss-zzz";

QString& feedbackDirOverride()
{
    static QString dir;
    return dir;
}

QString colorName(const char* key)
{
    return CUiResource::instance()->getColor(QLatin1String(key)).name(QColor::HexArgb);
}

// The file appears whole under its name or not at all. A small file sits in QSaveFile's buffer
// until commit(), which drops the error of writing it out (a full disk): flushing first and reading
// its answer is what catches that.
bool writeFile(const QString& path, const QByteArray& bytes, QString* problem)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        *problem = file.errorString();
        return false;
    }
    return true;
}
}

CAdviceFeedBackDialog::CAdviceFeedBackDialog(QWidget* parent, bool withScreenCapture)
    : CCommonDialog(parent)
{
    setObjectName(QStringLiteral("advice_feedback_dialog"));
    setTitle(QStringLiteral("意见反馈"));
    setInnerWidget(buildForm(withScreenCapture));
    resize(kDialogWidth, kDialogHeight);
    showMode();
    applyFormTheme();
}

QWidget* CAdviceFeedBackDialog::buildForm(bool withScreenCapture)
{
    m_form = new QWidget;
    m_form->setObjectName(QStringLiteral("feedback_form"));
    auto* grid = new QGridLayout(m_form);
    grid->setContentsMargins(kFormMargin, kFormMargin, kFormMargin, kFormMargin);
    grid->setHorizontalSpacing(kFormSpacing);
    grid->setVerticalSpacing(kFormSpacing);
    int row = 0;
    auto addRow = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, m_form);
        grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(field, row++, 1);
    };

    m_category = new QComboBox(m_form);
    m_category->setObjectName(QStringLiteral("feedback_category"));
    m_category->addItems({QStringLiteral("问题反馈"), QStringLiteral("功能建议"), QStringLiteral("行情相关"),
                          QStringLiteral("交易相关"), QStringLiteral("其他")});
    addRow(QStringLiteral("反馈类别"), m_category);

    m_content = new QPlainTextEdit(m_form);
    m_content->setObjectName(QStringLiteral("feedback_content"));
    m_content->setPlaceholderText(QStringLiteral("请描述您遇到的问题或建议"));
    m_content->setFixedHeight(kContentHeight);
    addRow(QStringLiteral("反馈内容"), m_content);

    m_contact = new QLineEdit(m_form);
    m_contact->setObjectName(QStringLiteral("feedback_contact"));
    m_contact->setPlaceholderText(QStringLiteral("手机号或邮箱（选填）"));
    addRow(QStringLiteral("联系方式"), m_contact);

    if (withScreenCapture) {
        auto* captureBox = new QWidget(m_form);
        auto* captureLayout = new QVBoxLayout(captureBox);
        captureLayout->setContentsMargins(0, 0, 0, 0);
        m_thumbnail = new QLabel(captureBox);
        m_thumbnail->setObjectName(QStringLiteral("feedback_capture"));
        m_thumbnail->setFixedSize(kThumbnailWidth, kThumbnailHeight);
        m_thumbnail->setAlignment(Qt::AlignCenter);
        m_attachCapture = new QCheckBox(QStringLiteral("附带截图"), captureBox);
        m_attachCapture->setObjectName(QStringLiteral("feedback_attach_capture"));
        captureLayout->addWidget(m_thumbnail);
        captureLayout->addWidget(m_attachCapture);
        addRow(QStringLiteral("截图"), captureBox);
        showCapture();
    }

    m_mode = new QLabel(m_form);
    m_mode->setObjectName(QStringLiteral("feedback_mode"));
    grid->addWidget(m_mode, row++, 0, 1, 2);
    m_status = new QLabel(m_form);
    m_status->setObjectName(QStringLiteral("feedback_status"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(m_status, row++, 0, 1, 2);
    grid->setRowStretch(row++, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* submit = new CSmallNormalButton(kSubmitButtonId, false, 1, m_form);
    submit->setObjectName(QStringLiteral("feedback_submit"));
    submit->setText(QStringLiteral("提交"));
    auto* close = new CSmallNormalButton(kCloseButtonId, false, 1, m_form);
    close->setObjectName(QStringLiteral("feedback_close"));
    close->setText(QStringLiteral("关闭"));
    for (CSmallNormalButton* button : {submit, close}) {
        button->setFixedSize(button->sizeHint());
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, row, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return m_form;
}

void CAdviceFeedBackDialog::screenCapture()
{
    if (m_thumbnail) {
        // The dialog is not shown yet, or shown on top of the window: the picture is taken first.
        if (QWidget* window = terminalWindow()) {
            QScreen* screen = window->screen();
            m_capture = screen ? screen->grabWindow(window->winId()) : QPixmap();
        } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
            m_capture = screen->grabWindow(0);
        }
        m_attachCapture->setChecked(!m_capture.isNull());
        showCapture();
    }
    show();
    raise();
    activateWindow();
}

void CAdviceFeedBackDialog::set2Server(bool toServer)
{
    if (toServer == m_toServer)
        return;
    m_toServer = toServer;
    showMode();
}

QString CAdviceFeedBackDialog::submit()
{
    const QString content = m_content->toPlainText().trimmed();
    if (content.isEmpty()) {
        setStatus(QStringLiteral("请填写反馈内容"), true);
        m_content->setFocus();
        return {};
    }
    const QString dir = feedbackDir();
    if (!QDir().mkpath(dir)) {
        setStatus(QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(dir)), true);
        return {};
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QString base = QDir(dir).filePath(QStringLiteral("feedback-") + now.toString(QLatin1String(kFileTimeFormat)));
    const bool withPicture = m_attachCapture && m_attachCapture->isChecked() && !m_capture.isNull();
    QString problem;

    QJsonObject report{
        {QStringLiteral("category"), m_category->currentText()},
        {QStringLiteral("content"), content},
        {QStringLiteral("contact"), m_contact->text().trimmed()},
        {QStringLiteral("createdAt"), now.toString(Qt::ISODateWithMs)},
        {QStringLiteral("uploadToServer"), m_toServer},
        {QStringLiteral("screenshot"), QJsonValue::Null},
    };
    const QString picturePath = base + QStringLiteral(".png");
    if (withPicture) {
        QByteArray png;
        QBuffer buffer(&png);
        if (!m_capture.save(&buffer, "PNG")) {
            setStatus(QStringLiteral("截图无法保存为 PNG"), true);
            return {};
        }
        if (!writeFile(picturePath, png, &problem)) {
            reportNotWritten(picturePath, problem);
            return {};
        }
        report.insert(QStringLiteral("screenshot"), QFileInfo(picturePath).fileName());
    }
    const QString reportPath = base + QStringLiteral(".json");
    if (!writeFile(reportPath, QJsonDocument(report).toJson(QJsonDocument::Indented), &problem)) {
        if (withPicture)
            QFile::remove(picturePath);
        reportNotWritten(reportPath, problem);
        return {};
    }

    log4cxx::Logger::getLogger(kLoggerName)->info("feedback report written to " + reportPath.toStdString());
    setStatus(QStringLiteral("反馈已保存到 %1").arg(QDir::toNativeSeparators(reportPath)), false);
    // The next report starts empty; category and contact usually stay the same.
    m_content->clear();
    m_capture = QPixmap();
    if (m_thumbnail) {
        m_attachCapture->setChecked(false);
        showCapture();
    }
    return reportPath;
}

void CAdviceFeedBackDialog::reportNotWritten(const QString& path, const QString& problem)
{
    LOG4CXX_WARN(log4cxx::Logger::getLogger(kLoggerName), "feedback report not written, " << path.toStdString() << ": " << problem.toStdString());
    setStatus(QStringLiteral("无法写入 %1：%2").arg(QDir::toNativeSeparators(path), problem), true);
}

QString CAdviceFeedBackDialog::statusText() const
{
    return m_status->text();
}

QString CAdviceFeedBackDialog::feedbackDir()
{
    if (!feedbackDirOverride().isEmpty())
        return feedbackDirOverride();
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/feedback");
}

void CAdviceFeedBackDialog::setFeedbackDir(const QString& dir)
{
    feedbackDirOverride() = dir;
}

bool CAdviceFeedBackDialog::openFeedbackAddress()
{
    const QString address = getConfig()->feedbackAddress().trimmed();
    if (address.isEmpty())
        return false;
    const log4cxx::LoggerPtr logger = log4cxx::Logger::getLogger(kLoggerName);
    // Tolerant: an address written without a scheme still opens, as in a browser's address bar.
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid()) {
        logger->warn("feedback address \"" + address.toStdString() + "\" is not a web address");
        return false;
    }
    if (!QDesktopServices::openUrl(url)) {
        logger->warn("no desktop browser opened the feedback address " + url.toString().toStdString());
        return false;
    }
    return true;
}

bool CAdviceFeedBackDialog::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type == Event_Activate && id == kSubmitButtonId) {
        submit();
        return true;
    }
    if (type == Event_Activate && id == kCloseButtonId) {
        hide();
        return true;
    }
    return CCommonDialog::handleEvent(type, id, arg, text, data);
}

void CAdviceFeedBackDialog::themeChanged()
{
    CCommonDialog::themeChanged();
    applyFormTheme();
}

void CAdviceFeedBackDialog::showCapture()
{
    m_attachCapture->setEnabled(!m_capture.isNull());
    if (m_capture.isNull()) {
        m_thumbnail->setPixmap(QPixmap());
        m_thumbnail->setText(QStringLiteral("无截图"));
        return;
    }
    m_thumbnail->setPixmap(m_capture.scaled(m_thumbnail->size() - QSize(2, 2), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void CAdviceFeedBackDialog::showMode()
{
    m_mode->setText(m_toServer ? QStringLiteral("提交后保存在本机，并标记为上传至客服中心") : QStringLiteral("提交后仅保存在本机"));
}

void CAdviceFeedBackDialog::setStatus(const QString& text, bool problem)
{
    m_status->setText(text);
    if (problem != m_statusIsProblem) {
        m_statusIsProblem = problem;
        applyFormTheme();
    }
}

void CAdviceFeedBackDialog::applyFormTheme()
{
    const CUiResource* resource = CUiResource::instance();
    m_form->setFont(resource->getFont(QLatin1String(kFontKey)));
    const QString edit = QStringLiteral("background: %1; border: 1px solid %2;").arg(colorName("clr_edit_background"), colorName("clr_edit_border"));
    m_form->setStyleSheet(
        QStringLiteral("QLabel, QCheckBox { color: %1; }"
                       "QComboBox, QPlainTextEdit, QLineEdit { %2 padding: 2px; }"
                       "QComboBox QAbstractItemView { %2 color: %6; selection-background-color: %3; }"
                       "QLabel#feedback_capture { %2 }"
                       "QLabel#feedback_mode { color: %4; }"
                       "QLabel#feedback_status { color: %5; }")
            .arg(colorName("clr_text_default"), edit, colorName("clr_menu_selected_background"), colorName("clr_text_secondary"),
                 colorName(m_statusIsProblem ? "clr_global_red" : "clr_text_default"), colorName("clr_edit_text")));
    // The fields take their text colours from their own palettes: a style sheet colour would
    // paint the hint of an empty field like typed text.
    for (QWidget* field : std::initializer_list<QWidget*>{m_category, m_content, m_contact}) {
        QPalette palette = field->palette();
        palette.setColor(QPalette::Text, resource->getColor(QStringLiteral("clr_edit_text")));
        palette.setColor(QPalette::ButtonText, resource->getColor(QStringLiteral("clr_edit_text")));
        palette.setColor(QPalette::PlaceholderText, resource->getColor(QStringLiteral("clr_text_secondary")));
        field->setPalette(palette);
    }
}

QWidget* CAdviceFeedBackDialog::terminalWindow() const
{
    if (parentWidget())
        return parentWidget()->window();
    QWidget* active = QApplication::activeWindow();
    if (active && active != this)
        return active;
    // No window is active (nothing has had the focus yet): take the largest one shown.
    QWidget* largest = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget == this || !widget->isVisible() || widget->windowType() == Qt::ToolTip || widget->windowType() == Qt::Popup)
            continue;
        const QSize size = widget->size();
        if (!largest || size.width() * size.height() > largest->width() * largest->height())
            largest = widget;
    }
    return largest;
}
