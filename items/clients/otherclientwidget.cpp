#include "otherclientwidget.h"

#include <statusbar/clienttipwidget.h>

#include <terminalhost/imagewidget.h>
#include <terminalhost/messagetip.h>
#include <terminalhost/tradeclient.h>
#include <terminalhost/uiresource.h>

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <utility>

namespace {
const char kObjectName[] = "other_client_widget";
const char kIcon[] = "tc_img_status_bar_start_mini";
const char kRunningText[] = "极简交易正在运行";
constexpr int kPadding = 12;          // px around the icon; this and the two below at 100 %
constexpr int kIconX = 6;
constexpr int kIconDrop = 1;          // px the icon sits below the vertical centre
constexpr int kTipLifeSeconds = 3;
constexpr int kTipFadeMs = 300;
constexpr int kFailureLifeSeconds = 8; // a failure names the program and the problem: time to read it
}

COtherClientWidget::COtherClientWidget(QWidget* parent)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_icon(new CImageWidget(0, QLatin1String(kIcon), this))
{
    CMultiClientManager* manager = CMultiClientManager::instance();
    connect(manager, &CMultiClientManager::sigOtherClientComplete, this, &COtherClientWidget::slotOtherClientComplete);
    connect(manager, &CMultiClientManager::sigClientStartFailed, this, &COtherClientWidget::slotClientProblem);
    connect(manager, &CMultiClientManager::sigClientNotAnswering, this, &COtherClientWidget::slotClientProblem);
}

int COtherClientWidget::getMaxWidth()
{
    return m_icon->width() + CUiResource::instance()->scaledPx(kPadding);
}

int COtherClientWidget::getMinWidth()
{
    return m_icon->width() + CUiResource::instance()->scaledPx(kPadding);
}

void COtherClientWidget::slotOtherClientComplete()
{
    if (m_tip)
        m_tip->hide();
}

void COtherClientWidget::startOnPress()
{
    CMultiClientManager* manager = CMultiClientManager::instance();
    forgetOldProblem();
    // A client that stopped answering is started anew by the manager: the press starts it.
    if (manager->isClientRuning(ClientType_MiniTrade) && !manager->isClientUnresponsive(ClientType_MiniTrade)) {
        CMessageTip::showTip(this, MessageTip_AboveLeft, QString::fromUtf8(kRunningText), kTipLifeSeconds, kTipFadeMs);
    } else {
        if (!m_tip)
            m_tip = new CClientTipWidget(this);
        m_tip->showStarting(this);
    }
    // The terminal keeps its level-2 quotes while a companion shares them.
    CTradeClient::instance()->setNotStopLevel2(true);
    manager->startClientProcess(ClientType_MiniTrade);
}

bool COtherClientWidget::launches(EClinetType type) const
{
    return type == ClientType_MiniTrade;
}

void COtherClientWidget::hideStartingTip()
{
    slotOtherClientComplete();
}

void COtherClientWidget::slotClientProblem(EClinetType type, const QString& message)
{
    if (!launches(type))
        return;
    hideStartingTip();
    if (isVisible())
        showFailure(message);
    else
        m_unshownFailure = message;
}

void COtherClientWidget::showFailure(const QString& message)
{
    m_problemTip = CMessageTip::showTip(this, MessageTip_AboveLeft, message, kFailureLifeSeconds, kTipFadeMs);
}

void COtherClientWidget::forgetOldProblem()
{
    m_unshownFailure.clear();
    // The starting tip takes its place above the icon.
    if (m_problemTip)
        m_problemTip->close();
}

void COtherClientWidget::enterEvent(QEvent* event)
{
    CItemBaseWidget::enterEvent(event);
    m_frame.setLook(CItemFrame::Hover);
}

void COtherClientWidget::leaveEvent(QEvent* event)
{
    CItemBaseWidget::leaveEvent(event);
    m_frame.setLook(CItemFrame::Rest);
}

void COtherClientWidget::mousePressEvent(QMouseEvent* event)
{
    CItemBaseWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_frame.setLook(CItemFrame::Pressed);
    startOnPress();
}

void COtherClientWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_frame.paint(painter);
}

void COtherClientWidget::resizeEvent(QResizeEvent* event)
{
    CItemBaseWidget::resizeEvent(event);
    const CUiResource* resource = CUiResource::instance();
    m_icon->move(resource->scaledPx(kIconX), (height() - m_icon->height()) / 2 + resource->scaledPx(kIconDrop));
}

void COtherClientWidget::showEvent(QShowEvent* event)
{
    CItemBaseWidget::showEvent(event);
    if (m_unshownFailure.isEmpty())
        return;
    // The row lays itself out after the show; the tip points at the launcher once it has.
    QTimer::singleShot(0, this, [this] {
        if (!m_unshownFailure.isEmpty() && isVisible())
            showFailure(std::exchange(m_unshownFailure, QString()));
    });
}
