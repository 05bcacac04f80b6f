#include "indexquoteboard.h"

#include <terminalhost/uiresource.h>

#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>

namespace {
constexpr int kTickMs = 1000;
constexpr int kBoardWidthPx = 360;
constexpr double kMaxStep = 0.0012;  // largest move per tick, as a share of the price
constexpr double kMaxOpenGap = 0.01; // how far from the previous close the board opens
constexpr int kRowPaddingPx = 8;     // above and below each row's text
constexpr int kSidePaddingPx = 14;
constexpr int kColumnGapPx = 18;
const char kFontKey[] = "fnt_default_normal";
const char kHeavyFontKey[] = "fnt_default_normal_heavy_fix";

struct IndexSeed {
    const char* name;
    double previousClose;
};
constexpr IndexSeed kIndexes[] = {
    {"上证指数", 3052.47},
    {"深证成指", 9821.36},
    {"创业板指", 1903.58},
    {"沪深300", 3571.22},
};

double randomShare(double bound)
{
    return (QRandomGenerator::global()->generateDouble() * 2.0 - 1.0) * bound;
}
}

CIndexQuoteBoard::CIndexQuoteBoard(QWidget* parent)
    : QWidget(parent)
{
    for (const IndexSeed& seed : kIndexes)
        m_quotes.append({QString::fromUtf8(seed.name), seed.previousClose, seed.previousClose * (1.0 + randomShare(kMaxOpenGap))});
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &CIndexQuoteBoard::slotTick);
    m_timer->start(kTickMs);
}

QSize CIndexQuoteBoard::sizeHint() const
{
    const QFontMetrics metrics(CUiResource::instance()->getFont(QLatin1String(kFontKey)));
    const int rowHeight = metrics.height() + 2 * kRowPaddingPx;
    return {kBoardWidthPx, rowHeight * (m_quotes.size() + 1)};
}

void CIndexQuoteBoard::slotTick()
{
    for (IndexQuote& quote : m_quotes)
        quote.last *= 1.0 + randomShare(kMaxStep);
    update();
}

void CIndexQuoteBoard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    const QFont font = resource->getFont(QLatin1String(kFontKey));
    const QFontMetrics metrics(font);
    const int rowHeight = metrics.height() + 2 * kRowPaddingPx;
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
        const QString colorKey = change > 0 ? QStringLiteral("clr_global_rise")
                                            : change < 0 ? QStringLiteral("clr_global_fall") : QStringLiteral("clr_text_default");
        painter.setFont(font);
        painter.setPen(resource->getColor(QStringLiteral("clr_text_default")));
        painter.drawText(QRect(kSidePaddingPx, row * rowHeight, width(), rowHeight), Qt::AlignLeft | Qt::AlignVCenter, quote.name);
        painter.setFont(heavy);
        painter.setPen(resource->getColor(colorKey));
        const QString sign = change > 0 ? QStringLiteral("+") : QString();
        painter.drawText(column(0, row), Qt::AlignRight | Qt::AlignVCenter, QString::number(quote.last, 'f', 2));
        painter.drawText(column(1, row), Qt::AlignRight | Qt::AlignVCenter, sign + QString::number(change, 'f', 2));
        painter.drawText(column(2, row), Qt::AlignRight | Qt::AlignVCenter,
                         sign + QString::number(change / quote.previousClose * 100.0, 'f', 2) + QLatin1Char('%'));
    }
}
