#include "indexbottomquoterwidget.h"

#include <terminalhost/formulamanager.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/stockmanager.h>
#include <terminalhost/uiresource.h>

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
const char kObjectName[] = "index_bottom_quoter_widget";
const char kFontKey[] = "fnt_default_normal_fix";
const char kNameColorKey[] = "clr_text_default";
const char kRiseColorKey[] = "clr_global_rise";
const char kFallColorKey[] = "clr_global_fall";
const char kFlatColorKey[] = "clr_text_default";
const char kNoQuote[] = "--";
constexpr int kMarketLength = 2;  // "SH", "SZ" before the six digits
// Sizes and gaps are px at 100 %, taken at the UI scale.
constexpr int kDefaultWidth = 210; // px
constexpr int kDefaultHeight = 24; // px
constexpr int kTextGap = 6;        // px between name, price, change and percent
constexpr int kPriceDecimals = 2;
constexpr int kTextAlignment = Qt::AlignLeft | Qt::AlignVCenter;

QString signedNumber(double value, const QString& suffix)
{
    const QString digits = QString::number(value, 'f', kPriceDecimals);
    return (value > 0.0 ? QStringLiteral("+") : QString()) + digits + suffix;
}
}

void CIndexQuoteModel::onQuote(int, int status, const std::vector<QuoterBasePtr>& records)
{
    if (status == QuoterStatus_Empty)
        return;
    CQuoteSnapshotPtr newest;
    for (const QuoterBasePtr& record : records) {
        if (auto snapshot = std::dynamic_pointer_cast<CQuoteSnapshot>(record))
            newest = snapshot;
    }
    if (!newest)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_latest = newest;
    }
    emit sigQuoteChanged();
}

CQuoteSnapshotPtr CIndexQuoteModel::latest() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_latest;
}

CIndexBottomQuoterWidget::CIndexBottomQuoterWidget(QWidget* parent)
    : CBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_price(QLatin1String(kNoQuote))
    , m_change(QLatin1String(kNoQuote))
    , m_percent(QLatin1String(kNoQuote))
    , m_numberColorKey(QLatin1String(kFlatColorKey))
{
    const CUiResource* resource = CUiResource::instance();
    resize(resource->scaledPx(kDefaultWidth), resource->scaledPx(kDefaultHeight));
}

CIndexBottomQuoterWidget::~CIndexBottomQuoterWidget()
{
    // Ending the subscription waits for a quote being delivered; later ones find nobody.
    unrequest();
}

void CIndexBottomQuoterWidget::setStock(const QString& code)
{
    if (code == m_code)
        return;
    unrequest();
    m_code = code;
    m_price = m_change = m_percent = QLatin1String(kNoQuote);
    m_numberColorKey = QLatin1String(kFlatColorKey);
    lookUpName();
    update();
}

TSMetaInfo CIndexBottomQuoterWidget::meta() const
{
    const std::string code = qsToS(m_code);
    TSMetaInfo info;
    info.market = code.substr(0, kMarketLength);
    info.code = code.size() > kMarketLength ? code.substr(kMarketLength) : std::string();
    info.metaId = MetaId_Snapshot;
    return info;
}

void CIndexBottomQuoterWidget::request()
{
    lookUpName();
    if (isRequested() || m_code.isEmpty())
        return;
    // A fresh model per subscription: a late quote of an earlier one cannot overwrite a newer one.
    if (m_model)
        disconnect(m_model.get(), nullptr, this, nullptr);
    m_model = std::make_shared<CIndexQuoteModel>();
    connect(m_model.get(), &CIndexQuoteModel::sigQuoteChanged, this, &CIndexBottomQuoterWidget::slotQuoteChanged);
    std::shared_ptr<CIndexQuoteModel> model = m_model;
    m_subscriptionId = CFormulaManager::instance()->subscribeQuoter(
        ProxyType_Stock, meta(), TRegionInfo(), DataDemand_HistoryAndPush, false,
        [model](int tag, int status, const std::vector<QuoterBasePtr>& records) { model->onQuote(tag, status, records); });
}

void CIndexBottomQuoterWidget::unrequest()
{
    if (!isRequested())
        return;
    CFormulaManager::instance()->unsubQuoter(m_subscriptionId, meta());
    m_subscriptionId = -1;
}

void CIndexBottomQuoterWidget::lookUpName()
{
    const CInstrumentDetailPtr detail = CStockManager::instance()->getInstrumentDetail(m_code);
    const QString name = detail && !detail->name.empty() ? sToQs(detail->name) : m_code;
    if (name == m_name)
        return;
    m_name = name;
    update();
}

void CIndexBottomQuoterWidget::slotQuoteChanged()
{
    if (m_model)
        showQuote(m_model->latest());
}

void CIndexBottomQuoterWidget::showQuote(const CQuoteSnapshotPtr& quote)
{
    if (!quote || quote->code() != qsToS(m_code))
        return;
    const double change = quote->change();
    m_price = QString::number(quote->last(), 'f', kPriceDecimals);
    m_change = signedNumber(change, QString());
    m_percent = signedNumber(quote->changePercent(), QStringLiteral("%"));
    m_numberColorKey = QLatin1String(change > 0.0 ? kRiseColorKey : change < 0.0 ? kFallColorKey : kFlatColorKey);
    update();
}

void CIndexBottomQuoterWidget::themeChanged()
{
    update();
}

void CIndexBottomQuoterWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    const QFont font = resource->getFont(QLatin1String(kFontKey));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int gap = resource->scaledPx(kTextGap);
    int x = 0;
    painter.setPen(resource->getColor(QLatin1String(kNameColorKey)));
    painter.drawText(QRect(x, 0, width() - x, height()), kTextAlignment, m_name);
    x += metrics.horizontalAdvance(m_name) + gap;
    painter.setPen(resource->getColor(m_numberColorKey));
    for (const QString& text : {m_price, m_change, m_percent}) {
        painter.drawText(QRect(x, 0, std::max(0, width() - x), height()), kTextAlignment, text);
        x += metrics.horizontalAdvance(text) + gap;
    }
}

void CIndexBottomQuoterWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    CBaseWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && !m_code.isEmpty())
        deliverEvent(Event_OpenQuoteView, 0, 0, m_code, nullptr);
}
