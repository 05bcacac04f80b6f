#include "miniquoteclientwidget.h"

#include <statusbar/clienttipwidget.h>

#include <terminalhost/imagewidget.h>
#include <terminalhost/messagetip.h>
#include <terminalhost/tradeclient.h>

#include <QFile>

namespace {
const char kIcon[] = "tc_img_status_bar_start_quote";
const char kRunningText[] = "miniQuote正在运行";
constexpr int kTipLifeSeconds = 3;
constexpr int kTipFadeMs = 300;
}

CMiniQuoteClientWidget::CMiniQuoteClientWidget(QWidget* parent)
    : COtherClientWidget(parent)
{
    icon()->setImage(QLatin1String(kIcon));
    CMultiClientManager* manager = CMultiClientManager::instance();
    connect(manager, &CMultiClientManager::sigOtherClientComplete, this, &CMiniQuoteClientWidget::slotOtherClientComplete);
    connect(manager, &CMultiClientManager::sigKPXAwaken, this, &CMiniQuoteClientWidget::slotKPXAwaken);
}

void CMiniQuoteClientWidget::startClient(EClinetType type)
{
    CMultiClientManager* manager = CMultiClientManager::instance();
    forgetOldProblem();
    // A user's start replaces a client that stopped answering; the resident start leaves it be.
    const bool replaced = type == ClientType_MiniQuote && manager->isClientUnresponsive(ClientType_MiniQuote);
    if (!manager->isClientRuning(ClientType_MiniQuote) || replaced) {
        if (!m_miniQuoteTip)
            m_miniQuoteTip = new CClientTipWidget(this);
        m_miniQuoteTip->showStarting(this);
    } else if (type == ClientType_MiniQuote) {
        CMessageTip::showTip(this, MessageTip_AboveLeft, QString::fromUtf8(kRunningText), kTipLifeSeconds, kTipFadeMs);
        // The running client watches this file: emptying it brings the client forward. A file that
        // cannot be opened changes nothing; the start request below still raises the client.
        QFile signal(manager->getProcessFileQSPath(ClientType_MiniQuoteSignal));
        if (signal.open(QIODevice::ReadWrite | QIODevice::Truncate))
            signal.close();
    }
    // The terminal keeps its level-2 quotes while a companion shares them.
    CTradeClient::instance()->setNotStopLevel2(true);
    manager->startClientProcess(type);
}

void CMiniQuoteClientWidget::killClient(EClinetType type)
{
    CMultiClientManager::instance()->killProcesses(type);
}

void CMiniQuoteClientWidget::slotOtherClientComplete()
{
    if (m_miniQuoteTip)
        m_miniQuoteTip->hide();
}

void CMiniQuoteClientWidget::slotKPXAwaken()
{
    m_awakened = true;
}

void CMiniQuoteClientWidget::startOnPress()
{
    startClient(ClientType_MiniQuote);
}

bool CMiniQuoteClientWidget::launches(EClinetType type) const
{
    return type == ClientType_MiniQuote || type == ClientType_MiniQuoteResident;
}

void CMiniQuoteClientWidget::hideStartingTip()
{
    slotOtherClientComplete();
}
