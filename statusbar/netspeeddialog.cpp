#include "netspeeddialog.h"

#include <terminalhost/cefviewmanager.h>
#include <terminalhost/config.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/uiresource.h>

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QUrl>

#include <log4cxx/logger.h>

namespace {
constexpr int kDialogWidth = 670;
constexpr int kDialogHeight = 400;
constexpr int kYAxisStep = 4; // ms; the y maximum is the next multiple above the largest delay

const char kTitle[] = "网络延迟";
const char kPagePath[] = "/../webwidget/netspeed/index.html";
constexpr double kScaledFromMs = 1.0; // below it the history is noise and is drawn flat at zero

// The page names the file that keeps it from drawing, or answers empty text; a page that cannot
// answer is itself at fault (%1: its file name).
const char kReadinessScript[] = "typeof chartPageProblem === \"function\" ? String(chartPageProblem()) : \"%1\"";

// The chart's JSON, piece by piece: four 20 ms colour bands and then the measured delays in black.
const char kJsonHead[] = "{\"title\": \"网络延迟\",\"legend\": \"延迟线\",\"xAxis\": [";
const char kYRangeWithMaxHead[] = "], \"yAxis\": {\"max\": \" ";
const char kYRangeWithMaxTail[] = " \",\"min\": \"0\"}, \"series\": [{\"color\": \"#2AFF2C\", \"data\": 20}, ";
const char kYRangeFixed[] = "], \"yAxis\": {\"max\": \" 4\",\"min\": \"0\"}, \"series\": [{\"color\": \"#2AFF2C\", \"data\": 20}, ";
const char kBands[] = "{\"color\": \"#F7F936\", \"data\": 20}, {\"color\": \"#FB721E\", \"data\": 20}, "
                      "{\"color\": \"#F50018\", \"data\": 20}, {\"color\": \"#000000\", ";
const char kDataHead[] = "\"data\": [";
const char kJsonTail[] = "]}]}";
// The page's script is the JSON wrapped in a call, nothing more.
const char kScriptHead[] = "loadChart(";
const char kScriptTail[] = ")";
constexpr int kFixedRoom = 512; // characters of the fixed pieces, the call included
constexpr int kValueRoom = 12;  // characters a delay usually takes with its comma ("123.456789,")

// What the dialog shows (%1: the file) and logs (followed by the file) when the page fails.
const char kCannotOpenText[] = "网络延迟图无法显示：无法打开 %1";
const char kCannotOpenLog[] = "latency chart cannot be shown: cannot open ";
const char kBrokenText[] = "网络延迟图无法显示：%1 缺失或损坏";
const char kBrokenLog[] = "latency chart cannot be shown: missing or broken ";
const char kLoggerName[] = "LatencyChart";
const char kProblemColorKey[] = "clr_global_text";
const char kProblemFontKey[] = "fnt_default_normal";
// One sample added to the chart on show: its quoted label, its value and the y maximum.
const char kAppendScript[] = "appendChart(%1, %2, %3)";

// The page's colour names and the theme keys behind them.
struct ChartColour {
    const char* name;
    const char* key;
};
const ChartColour kChartColours[] = {
    {"background", "clr_netspeed_chart_background"},
    {"title", "clr_netspeed_chart_title"},
    {"text", "clr_netspeed_chart_text"},   // axes, ticks and legend
    {"grid", "clr_netspeed_chart_grid"},
    {"halo", "clr_netspeed_chart_halo"},   // the pale stroke that keeps the black delay line readable
};

QString cssColour(const QColor& colour)
{
    if (colour.alpha() == 255)
        return colour.name();
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue())
        .arg(QString::number(colour.alphaF(), 'g', 3));
}

const QString& jsonHead()
{
    static const QString head = QString::fromUtf8(kJsonHead);
    return head;
}

// The chart JSON between prefix and suffix, written into one text reserved up front: a day of
// samples is some 300,000 characters, and joining it from parts would copy them several times over.
// Without a y maximum every point is drawn at zero, and the fixed y range is used.
QString buildChart(QLatin1String prefix, const QString& labels, const int* yMaximum, const QList<double>& delaysMs,
                   QLatin1String suffix)
{
    QString text;
    text.reserve(kFixedRoom + labels.size() + delaysMs.size() * kValueRoom);
    char number[kDoubleNumberCapacity];
    const auto appendNumber = [&text, &number](double value) {
        text.append(QLatin1String(number, writeDoubleNumber(value, number)));
    };
    text.append(prefix);
    text.append(jsonHead());
    text.append(labels);
    if (yMaximum) {
        text.append(QLatin1String(kYRangeWithMaxHead));
        appendNumber(*yMaximum);
        text.append(QLatin1String(kYRangeWithMaxTail));
    } else {
        text.append(QLatin1String(kYRangeFixed));
    }
    text.append(QLatin1String(kBands));
    text.append(QLatin1String(kDataHead));
    for (int i = 0; i < delaysMs.size(); ++i) {
        if (i > 0)
            text.append(QLatin1Char(','));
        appendNumber(yMaximum ? delaysMs.at(i) : 0.0);
    }
    text.append(QLatin1String(kJsonTail));
    text.append(suffix);
    return text;
}
}

CNetSpeedDialog::CNetSpeedDialog(QWidget* parent)
    : CCommonDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(kDialogWidth, kDialogHeight);
    setTitle(QString::fromUtf8(kTitle));
    if (!getConfig()->useWebView())
        return;
    m_webView = CCefViewManager::getWebView(pageAddress(), this);
    if (!m_webView)
        return;
    CCefViewManager::setloadFinished(m_webView, [this](bool ok) { checkPage(ok); });
    setInnerWidget(m_webView);
}

void CNetSpeedDialog::checkPage(bool loaded)
{
    const QFileInfo page(pageFile());
    if (!loaded) {
        showPageProblem(kCannotOpenText, kCannotOpenLog, page.filePath());
        return;
    }
    const QString script = QString::fromLatin1(kReadinessScript).arg(page.fileName());
    CCefViewManager::executeJavaScript(m_webView, script, [this, page](const QVariant& answer) {
        const QString missing = answer.toString();
        if (!missing.isEmpty()) {
            showPageProblem(kBrokenText, kBrokenLog, page.dir().filePath(missing));
            return;
        }
        m_pageLoaded = true;
        // The colours go first, so that the data the owner hands in next is drawn in them.
        applyChartTheme();
        emit sigLoadFinished();
    });
}

void CNetSpeedDialog::showPageProblem(const char* shownText, const char* logText, const QString& file)
{
    if (!m_webView)
        return;
    LOG4CXX_WARN(log4cxx::Logger::getLogger(kLoggerName), logText << file.toStdString());
    m_webView = nullptr;
    m_pageLoaded = false;
    const QString text = QString::fromUtf8(shownText).arg(QDir::toNativeSeparators(file));
    // The page is still inside its own signal or answer here: it goes once that has returned.
    QMetaObject::invokeMethod(this, [this, text] {
        m_problemLabel = new QLabel(text);
        m_problemLabel->setAlignment(Qt::AlignCenter);
        m_problemLabel->setWordWrap(true);
        m_problemLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        styleProblemLabel();
        setInnerWidget(m_problemLabel);
        m_problemLabel->show();
    }, Qt::QueuedConnection);
}

QString CNetSpeedDialog::pageProblem() const
{
    return m_problemLabel ? m_problemLabel->text() : QString();
}

void CNetSpeedDialog::styleProblemLabel()
{
    const CUiResource* resource = CUiResource::instance();
    m_problemLabel->setFont(resource->getFont(QLatin1String(kProblemFontKey)));
    m_problemLabel->setStyleSheet(QStringLiteral("color: %1;").arg(resource->getColor(QLatin1String(kProblemColorKey)).name()));
}

QString CNetSpeedDialog::chartThemeJson()
{
    const CUiResource* resource = CUiResource::instance();
    QJsonObject colours;
    for (const ChartColour& colour : kChartColours)
        colours.insert(QLatin1String(colour.name), cssColour(resource->getColor(QLatin1String(colour.key))));
    return QString::fromUtf8(QJsonDocument(colours).toJson(QJsonDocument::Compact));
}

void CNetSpeedDialog::themeChanged()
{
    CCommonDialog::themeChanged();
    applyChartTheme();
    if (m_problemLabel)
        styleProblemLabel();
}

void CNetSpeedDialog::applyChartTheme()
{
    if (!m_webView || !m_pageLoaded)
        return;
    // The page's text grows with the rest of the terminal's.
    m_webView->setZoomFactor(CUiResource::instance()->getUIScale());
    CCefViewManager::executeJavaScript(m_webView, QStringLiteral("setChartTheme(%1)").arg(chartThemeJson()));
}

QString CNetSpeedDialog::pageFile()
{
    return QDir(getConfigDir() + QLatin1String(kPagePath)).absolutePath();
}

QString CNetSpeedDialog::pageAddress()
{
    const QString page = pageFile();
    // Three slashes before the path: a Unix path brings its own leading one.
    const QString prefix = page.startsWith(QLatin1Char('/')) ? QStringLiteral("File://") : QStringLiteral("File:///");
    return QUrl(prefix + page).toString();
}

int CNetSpeedDialog::yAxisMaximum(double maxDelayMs)
{
    return static_cast<int>(maxDelayMs) / kYAxisStep * kYAxisStep + kYAxisStep;
}

QString CNetSpeedDialog::chartJson(const QString& labels, double maxDelayMs, const QList<double>& delaysMs)
{
    const int yMaximum = yAxisMaximum(maxDelayMs);
    return buildChart(QLatin1String(), labels, &yMaximum, delaysMs, QLatin1String());
}

QString CNetSpeedDialog::chartJson(const QString& labels, const QList<double>& delaysMs)
{
    return buildChart(QLatin1String(), labels, nullptr, delaysMs, QLatin1String());
}

void CNetSpeedDialog::loadChart(const QString& labels, double maxDelayMs, const QList<double>& delaysMs)
{
    const int yMaximum = yAxisMaximum(maxDelayMs);
    runChartScript(buildChart(QLatin1String(kScriptHead), labels, &yMaximum, delaysMs, QLatin1String(kScriptTail)));
}

void CNetSpeedDialog::loadChart(const QString& labels, const QList<double>& delaysMs)
{
    runChartScript(buildChart(QLatin1String(kScriptHead), labels, nullptr, delaysMs, QLatin1String(kScriptTail)));
}

bool CNetSpeedDialog::drawsToScale(double maxDelayMs)
{
    return maxDelayMs >= kScaledFromMs;
}

void CNetSpeedDialog::appendToChart(const QString& label, double delayMs, double maxDelayMs)
{
    if (!m_pageLoaded)
        return; // the whole history goes to the page once it has loaded
    const bool toScale = drawsToScale(maxDelayMs);
    const int yMaximum = toScale ? yAxisMaximum(maxDelayMs) : kYAxisStep; // a flat chart keeps one step
    runChartScript(QString::fromLatin1(kAppendScript)
                       .arg(label, formatDoubleNumber(toScale ? delayMs : 0.0), formatDoubleNumber(yMaximum)));
}

void CNetSpeedDialog::runChartScript(const QString& script)
{
    if (m_webView)
        CCefViewManager::executeJavaScript(m_webView, script);
}
