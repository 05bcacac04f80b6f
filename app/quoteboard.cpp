#include "quoteboard.h"

#include <terminalhost/formulamanager.h>
#include <terminalhost/uiresource.h>

#include <QDateTime>
#include <QHeaderView>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kTickMs = 1000;
constexpr double kMaxMoveTicks = 3.0;    // a price moves at most this many price ticks per step
constexpr double kLimitShare = 0.10;     // daily price limit, as a share of the previous close
constexpr int kMaxVolumeStep = 400;      // lots per step
constexpr int kRowHeight = 24;           // px at scale 1

enum Column { ColCode, ColName, ColLast, ColChange, ColChangePct, ColVolume, ColTime, ColumnCount };

struct InstrumentSeed {
    const char* market;
    EProxyType source;
    const char* code;
    const char* name;
    double previousClose;
    double tickSize;
};
// Made-up instruments; the board only needs something that moves like a market.
const InstrumentSeed kInstruments[] = {
    {"SH", ProxyType_Stock, "600901", "华信科技", 18.42, 0.01},
    {"SH", ProxyType_Stock, "601288", "北辰银行", 4.37, 0.01},
    {"SZ", ProxyType_Stock, "000652", "远航物流", 9.86, 0.01},
    {"SZ", ProxyType_Stock, "300417", "新能电气", 36.15, 0.01},
    {"SZ", ProxyType_Stock, "002508", "嘉禾食品", 52.80, 0.01},
    {"SH", ProxyType_Stock, "601778", "恒远证券", 13.09, 0.01},
    {"CFFEX", ProxyType_Future, "IF2606", "股指主连", 3862.4, 0.2},
    {"SHFE", ProxyType_Future, "AU2608", "黄金主连", 562.36, 0.02},
    {"SHFE", ProxyType_Future, "RB2610", "螺纹主连", 3471.0, 1.0},
};

QString priceText(double price, double tickSize)
{
    return QString::number(price, 'f', tickSize >= 1.0 ? 0 : (tickSize >= 0.1 ? 1 : 2));
}
}

CQuoteBoard::CQuoteBoard(std::uint32_t seed, QWidget* parent)
    : QTableWidget(parent)
    , m_rng(seed)
    , m_timer(new QTimer(this))
{
    setColumnCount(ColumnCount);
    setHorizontalHeaderLabels({QStringLiteral("代码"), QStringLiteral("名称"), QStringLiteral("最新"), QStringLiteral("涨跌"),
                               QStringLiteral("涨跌幅"), QStringLiteral("成交量(手)"), QStringLiteral("时间")});
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::NoFocus);
    setShowGrid(false);

    for (const InstrumentSeed& seedRow : kInstruments)
        m_instruments.push_back({seedRow.market, QString::fromUtf8(seedRow.code), QString::fromUtf8(seedRow.name), seedRow.source,
                                 -1, seedRow.previousClose, seedRow.previousClose, seedRow.previousClose, seedRow.tickSize, 0,
                                 QTime::currentTime()});
    setRowCount(static_cast<int>(m_instruments.size()));
    for (int row = 0; row < rowCount(); ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(column <= ColName ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            setItem(row, column, item);
        }
        showRow(row);
        subscribe(row);
    }
    applyTheme();

    m_timer->setInterval(kTickMs);
    connect(m_timer, &QTimer::timeout, this, &CQuoteBoard::tick);
}

CQuoteBoard::~CQuoteBoard()
{
    // Once unsubscribed no callback runs any more; quotes already queued here go with the board.
    for (const Instrument& instrument : m_instruments)
        CFormulaManager::instance()->unsubQuoter(instrument.subscription, meta(instrument));
}

TSMetaInfo CQuoteBoard::meta(const Instrument& instrument) const
{
    TSMetaInfo info;
    info.market = instrument.market;
    info.code = instrument.code.toStdString();
    info.metaId = MetaId_Snapshot;
    return info;
}

void CQuoteBoard::subscribe(int row)
{
    Instrument& instrument = m_instruments[static_cast<std::size_t>(row)];
    // Quotes come on the engine's feed thread; the board takes them on its own.
    instrument.subscription = CFormulaManager::instance()->subscribeQuoter(
        instrument.source, meta(instrument), TRegionInfo(), DataDemand_Push, false,
        [this, row](int, int, const std::vector<QuoterBasePtr>& records) {
            for (const QuoterBasePtr& record : records) {
                const CQuoteSnapshotPtr quote = std::dynamic_pointer_cast<CQuoteSnapshot>(record);
                if (quote)
                    QMetaObject::invokeMethod(this, [this, row, quote] { showQuote(row, quote); }, Qt::QueuedConnection);
            }
        });
}

void CQuoteBoard::showQuote(int row, const CQuoteSnapshotPtr& quote)
{
    Instrument& instrument = m_instruments[static_cast<std::size_t>(row)];
    if (quote->last() != instrument.last)
        instrument.time = QTime::currentTime();
    instrument.last = quote->last();
    showRow(row);
}

void CQuoteBoard::setMoving(bool moving)
{
    if (moving)
        m_timer->start();
    else
        m_timer->stop();
}


void CQuoteBoard::tick()
{
    std::uniform_real_distribution<double> move(-kMaxMoveTicks, kMaxMoveTicks);
    std::uniform_int_distribution<int> volume(0, kMaxVolumeStep);
    CFormulaManager* engine = CFormulaManager::instance();
    const long long key = QDateTime::currentMSecsSinceEpoch();
    for (std::size_t i = 0; i < m_instruments.size(); ++i) {
        Instrument& instrument = m_instruments[i];
        const double low = instrument.previousClose * (1.0 - kLimitShare);
        const double high = instrument.previousClose * (1.0 + kLimitShare);
        const double ticks = std::round(move(m_rng));
        const qint64 traded = volume(m_rng);
        instrument.simulated = std::clamp(instrument.simulated + ticks * instrument.tickSize, low, high);
        instrument.volume += traded;
        // The time is the last trade's: a row that did not trade keeps its own.
        if (traded > 0)
            instrument.time = QTime::currentTime();
        showRow(static_cast<int>(i));
        const std::string code = instrument.market + instrument.code.toStdString();
        engine->publishQuote(std::make_shared<CQuoteSnapshot>(key, engine->getMarketLastTradeDate(instrument.market), code,
                                                              instrument.simulated, instrument.previousClose));
    }
}

void CQuoteBoard::showRow(int row)
{
    const Instrument& instrument = m_instruments[static_cast<std::size_t>(row)];
    // Below half a price tick the difference is the sum's rounding noise, not a move: no "-0.00".
    const double difference = instrument.last - instrument.previousClose;
    const double change = std::abs(difference) < instrument.tickSize / 2 ? 0.0 : difference;
    const CUiResource* resource = CUiResource::instance();
    QColor color = resource->getColor(QStringLiteral("clr_status_bar_text"));
    if (change > 0.0)
        color = resource->getColor(QStringLiteral("clr_global_red"));
    else if (change < 0.0)
        color = resource->getColor(QStringLiteral("ic_clr_quotetrade_sucess_bg"));

    // An item ignores a text or colour equal to the one it has: only what changed is repainted.
    item(row, ColCode)->setText(instrument.code);
    item(row, ColName)->setText(instrument.name);
    item(row, ColLast)->setText(priceText(instrument.last, instrument.tickSize));
    item(row, ColChange)->setText(priceText(change, instrument.tickSize));
    item(row, ColChangePct)->setText(QStringLiteral("%1%").arg(change / instrument.previousClose * 100.0, 0, 'f', 2));
    item(row, ColVolume)->setText(QString::number(instrument.volume));
    item(row, ColTime)->setText(instrument.time.toString(QStringLiteral("HH:mm:ss")));
    for (int column = ColLast; column <= ColChangePct; ++column)
        item(row, column)->setForeground(color);
}

void CQuoteBoard::applyTheme()
{
    const CUiResource* resource = CUiResource::instance();
    const QFont font = resource->getFont(QStringLiteral("fnt_default_normal"));
    setFont(font);
    horizontalHeader()->setFont(font);
    verticalHeader()->setDefaultSectionSize(static_cast<int>(kRowHeight * resource->getUIScale()));
    setStyleSheet(QStringLiteral("QTableWidget { background: %1; color: %2; border: none; selection-background-color: %3; }"
                                 "QHeaderView::section { background: %4; color: %2; border: none;"
                                 " border-bottom: 1px solid %5; padding: 3px 6px; }")
                      .arg(resource->getColor(QStringLiteral("clr_main_statusbar_background")).name(),
                           resource->getColor(QStringLiteral("clr_status_bar_text")).name(),
                           resource->getColor(QStringLiteral("clr_menu_selected_background")).name(),
                           resource->getColor(QStringLiteral("clr_dialog_title_background")).name(),
                           resource->getColor(QStringLiteral("clr_border_default")).name()));
    for (int row = 0; row < rowCount(); ++row)
        showRow(row);
}
