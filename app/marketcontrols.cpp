#include "marketcontrols.h"

#include <terminalhost/msgservice.h>
#include <terminalsim/marketinfosimulator.h>

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char kStar50[] = "SH000688"; // the one index the stock list may lose

struct NoticeButton {
    const char* label;
    const char* market;
    bool important;
};
const NoticeButton kNoticeButtons[] = {
    {"沪市重要公告", "SH", true},
    {"沪市普通公告", "SH", false},
    {"深市重要公告", "SZ", true},
    {"深市普通公告", "SZ", false},
};
}

CMarketControls::CMarketControls(CMarketInfoSimulator* market, QWidget* parent)
    : QGroupBox(QStringLiteral("Market information"), parent)
    , m_market(market)
{
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(noticeButtons());
    layout->addLayout(messageRow());
    layout->addLayout(dayButtons());
}

QLayout* CMarketControls::noticeButtons()
{
    auto* grid = new QGridLayout;
    int index = 0;
    for (const NoticeButton& entry : kNoticeButtons) {
        auto* button = new QPushButton(QString::fromUtf8(entry.label), this);
        button->setToolTip(QStringLiteral("Publishes one announcement of this exchange now"));
        connect(button, &QPushButton::clicked, this, [this, entry] {
            const bool pushed = m_market->pushNotice(entry.market, entry.important);
            emit sigNote(QStringLiteral("%1: %2").arg(pushed ? QStringLiteral("pushed") : QStringLiteral("nothing new left today"),
                                                      QString::fromUtf8(entry.label)));
        });
        grid->addWidget(button, index / 2, index % 2);
        ++index;
    }
    return grid;
}

QLayout* CMarketControls::messageRow()
{
    auto* row = new QHBoxLayout;
    m_messageType = new QComboBox(this);
    m_messageType->setObjectName(QStringLiteral("message_type"));
    const QStringList names = CMsgService::messageTypeNames();
    for (int type = 0; type < names.size(); ++type)
        m_messageType->addItem(QStringLiteral("%1 %2").arg(type).arg(names.at(type)), type);
    auto* push = new QPushButton(QStringLiteral("推送消息"), this);
    push->setToolTip(QStringLiteral("Types 0 and 1 raise the bar's message count; the others do not"));
    connect(push, &QPushButton::clicked, this, [this] {
        const int type = m_messageType->currentData().toInt();
        m_market->pushMessage(type);
        emit sigNote(QStringLiteral("pushed a message of type %1").arg(type));
    });
    row->addWidget(m_messageType, 1);
    row->addWidget(push);
    return row;
}

QLayout* CMarketControls::dayButtons()
{
    auto* grid = new QGridLayout;
    auto* tradeDate = new QPushButton(QStringLiteral("新交易日"), this);
    tradeDate->setToolTip(QStringLiteral("Begins the next trading day: the announcements start afresh"));
    connect(tradeDate, &QPushButton::clicked, this, [this] {
        m_market->changeTradeDate();
        emit sigNote(QStringLiteral("trade date changed to %1").arg(m_market->tradeDate()));
    });
    auto* stockList = new QPushButton(QStringLiteral("码表加载完成"), this);
    stockList->setToolTip(QStringLiteral("Announces the stock list complete: the index ticker requests its quotes again"));
    connect(stockList, &QPushButton::clicked, this, [this] {
        m_market->finishStockList();
        emit sigNote(QStringLiteral("stock list finished"));
    });
    m_star50 = new QPushButton(this);
    m_star50->setToolTip(QStringLiteral("The index ticker drops or takes back 科创50 at its next request"));
    connect(m_star50, &QPushButton::clicked, this, &CMarketControls::toggleStar50);
    showStar50State();
    grid->addWidget(tradeDate, 0, 0);
    grid->addWidget(stockList, 0, 1);
    grid->addWidget(m_star50, 1, 0, 1, 2);
    return grid;
}

void CMarketControls::toggleStar50()
{
    const QString code = QLatin1String(kStar50);
    const bool listed = !m_market->isInstrumentListed(code);
    m_market->setInstrumentListed(code, listed);
    showStar50State();
    emit sigNote(QStringLiteral("%1 %2 the stock list").arg(code, listed ? QStringLiteral("back on") : QStringLiteral("off")));
}

void CMarketControls::showStar50State()
{
    m_star50->setText(m_market->isInstrumentListed(QLatin1String(kStar50)) ? QStringLiteral("移除 SH000688")
                                                                              : QStringLiteral("恢复 SH000688"));
}
