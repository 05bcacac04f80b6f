#include "indexquoteboard.h"

#include <terminalhost/uiresource.h>

#include <QPainter>

namespace {
constexpr int kBoardWidthPx = 360;
constexpr int kRowPaddingPx = 8;     // above and below each row's text
constexpr int kSidePaddingPx = 14;
constexpr int kColumnGapPx = 18;
constexpr int kMessageRows = 2;      // a message naming the channel and the reason wraps once
constexpr double kPercent = 100.0;
const char kFontKey[] = "fnt_default_normal";
const char kHeavyFontKey[] = "fnt_default_normal_heavy_fix";
const char kNoQuote[] = "--";

struct IndexSeed {
    const char* code;
    const char* name;
};
constexpr IndexSeed kIndexes[] = {
    {"SH000001", "上证指数"},
    {"SZ399001", "深证成指"},
    {"SZ399006", "创业板指"},
    {"SH000300", "沪深300"},
};

// As the terminal's index display writes a change: a plus before a rise, two decimals.
QString signedNumber(double value, const QString& suffix)
{
    return (value > 0.0 ? QStringLiteral("+") : QString()) + QString::number(value, 'f', 2) + suffix;
}
}

CIndexQuoteBoard::CIndexQuoteBoard(QWidget* parent)
    : QWidget(parent)
{
    for (const IndexSeed& seed : kIndexes)
        m_quotes.append({QLatin1String(seed.code), QString::fromUtf8(seed.name)});
}

QStringList CIndexQuoteBoard::codes() const
{
    QStringList list;
    for (const IndexQuote& quote : m_quotes)
        list << quote.code;
    return list;
}

int CIndexQuoteBoard::rowHeight() const
{
    return QFontMetrics(CUiResource::instance()->getFont(QLatin1String(kFontKey))).height() + 2 * kRowPaddingPx;
}

QSize CIndexQuoteBoard::sizeHint() const
{
    const int rows = m_quotes.size() + 1 + (m_message.isEmpty() ? 0 : kMessageRows);
    return {kBoardWidthPx, rowHeight() * rows};
}

void CIndexQuoteBoard::setQuote(const QString& code, double last, double previousClose)
{
    for (IndexQuote& quote : m_quotes) {
        if (quote.code == code) {
            quote.quoted = true;
            quote.last = last;
            quote.previousClose = previousClose;
            update();
        }
    }
}

void CIndexQuoteBoard::setMessage(const QString& message)
{
    if (message == m_message)
        return;
    m_message = message;
    updateGeometry();
    update();
}

void CIndexQuoteBoard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    const QFont font = resource->getFont(QLatin1String(kFontKey));
    const QFontMetrics metrics(font);
    const int rowHeight = this->rowHeight();
    // Name on the left; price, change and percentage right-aligned in equal columns.
    const int numberWidth = (width() - 2 * kSidePaddingPx - metrics.horizontalAdvance(QStringLiteral("沪深300")) - 3 * kColumnGapPx) / 3;
    auto column = [&](int index, int row) {
        const int right = width() - kSidePaddingPx - (2 - index) * (numberWidth + kColumnGapPx);
        return QRect(right - numberWidth, row * rowHeight, numberWidth, rowHeight);
    };

    painter.setPen(resource->getColor(QStringLiteral("clr_border_default")));
    for (int row = 1; row <= m_quotes.size(); ++row)
        painter.drawLine(kSidePaddingPx, row * rowHeight, width() - kSidePaddingPx, row * rowHeight);

    painter.setFont(font);
    painter.setPen(resource->getColor(QStringLiteral("clr_text_secondary")));
    const QRect header(kSidePaddingPx, 0, width() - 2 * kSidePaddingPx, rowHeight);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("指数"));
    painter.drawText(column(0, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("最新"));
    painter.drawText(column(1, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("涨跌"));
    painter.drawText(column(2, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("涨幅"));

    const QFont heavy = resource->getFont(QLatin1String(kHeavyFontKey));
    for (int i = 0; i < m_quotes.size(); ++i) {
        const IndexQuote& quote = m_quotes.at(i);
        const int row = i + 1;
        const double change = quote.last - quote.previousClose;
        const double percent = quote.previousClose == 0.0 ? 0.0 : change / quote.previousClose * kPercent;
        const QString colorKey = !quote.quoted ? QStringLiteral("clr_text_default")
                                 : change > 0  ? QStringLiteral("clr_global_rise")
                                 : change < 0  ? QStringLiteral("clr_global_fall")
                                               : QStringLiteral("clr_text_default");
        painter.setFont(font);
        painter.setPen(resource->getColor(QStringLiteral("clr_text_default")));
        painter.drawText(QRect(kSidePaddingPx, row * rowHeight, width(), rowHeight), Qt::AlignLeft | Qt::AlignVCenter, quote.name);
        painter.setFont(heavy);
        painter.setPen(resource->getColor(colorKey));
        const QString none = QLatin1String(kNoQuote);
        painter.drawText(column(0, row), Qt::AlignRight | Qt::AlignVCenter, quote.quoted ? QString::number(quote.last, 'f', 2) : none);
        painter.drawText(column(1, row), Qt::AlignRight | Qt::AlignVCenter, quote.quoted ? signedNumber(change, QString()) : none);
        painter.drawText(column(2, row), Qt::AlignRight | Qt::AlignVCenter,
                         quote.quoted ? signedNumber(percent, QStringLiteral("%")) : none);
    }
    if (!m_message.isEmpty()) {
        painter.setFont(font);
        painter.setPen(resource->getColor(QStringLiteral("clr_text_secondary")));
        const QRect area(kSidePaddingPx, (m_quotes.size() + 1) * rowHeight, width() - 2 * kSidePaddingPx, kMessageRows * rowHeight);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, m_message);
    }
}
