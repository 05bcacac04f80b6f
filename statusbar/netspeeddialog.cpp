#include "netspeeddialog.h"

#include <terminalhost/cefviewmanager.h>
#include <terminalhost/config.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/uiresource.h>

#include <QColor>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace {
constexpr int kDialogWidth = 670;
constexpr int kDialogHeight = 400;
constexpr int kYAxisStep = 4; // ms; the y maximum is the next multiple above the largest delay

const char kTitle[] = "网络延迟";
const char kPagePath[] = "/../webwidget/netspeed/index.html";

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
    CCefViewManager::setloadFinished(m_webView, [this](bool) {
        m_pageLoaded = true;
        // The colours go first, so that the data the owner hands in next is drawn in them.
        applyChartTheme();
        emit sigLoadFinished();
    });
    setInnerWidget(m_webView);
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
}

void CNetSpeedDialog::applyChartTheme()
{
    if (m_webView && m_pageLoaded)
        CCefViewManager::executeJavaScript(m_webView, QStringLiteral("setChartTheme(%1)").arg(chartThemeJson()));
}

QString CNetSpeedDialog::pageAddress()
{
    const QString page = QDir(getConfigDir() + QLatin1String(kPagePath)).absolutePath();
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
    // Below 1 ms the history is noise: every point is drawn at zero.
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

void CNetSpeedDialog::runChartScript(const QString& script)
{
    if (m_webView)
        CCefViewManager::executeJavaScript(m_webView, script);
}
