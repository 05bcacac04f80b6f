#include "statusnetspeed.h"

#include <statusbar/itemaccessibility.h>
#include <statusbar/statusbarevents.h>
#include <terminalhost/appconfig.h>
#include <terminalhost/config.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/serviceclient.h>
#include <terminalhost/simpletext.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {
const char kObjectName[] = "status_net_speed";
constexpr double kStepFourBelowMs = 20.0;
constexpr double kStepThreeBelowMs = 40.0;
constexpr double kStepTwoBelowMs = 60.0;
constexpr double kMsPerSecond = 1000.0;
constexpr int kImageLeft = 10;      // px at 100 %, as the two below
constexpr int kImageDrop = 1;       // px the bars sit below the vertical centre
constexpr int kToolTipPadding = 5;
}

CStatusNetSpeed::CStatusNetSpeed(QWidget* parent)
    : CBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_signalImage(new CImageWidget(0, QStringLiteral("tc_img_net_speed_four"), this))
{
    // No delay is known before the bar's first reading.
    ItemAccessibility::describe(this, QStringLiteral("网络延迟"));
}

QString CStatusNetSpeed::imageKeyForDelay(double delayMs)
{
    // Written so that NaN fails every comparison and lands on the worst step.
    if (delayMs >= 0.0 && delayMs < kStepFourBelowMs)
        return QStringLiteral("tc_img_net_speed_four");
    if (delayMs >= kStepFourBelowMs && delayMs < kStepThreeBelowMs)
        return QStringLiteral("tc_img_net_speed_three");
    if (delayMs >= kStepThreeBelowMs && delayMs < kStepTwoBelowMs)
        return QStringLiteral("tc_img_net_speed_two");
    return QStringLiteral("tc_img_net_speed_one");
}

void CStatusNetSpeed::setDelay(double delayMs)
{
    m_signalImage->setImage(imageKeyForDelay(delayMs));
    ItemAccessibility::setValue(this, QString::number(delayMs, 'g', 6) + QStringLiteral(" ms"));
}

QString CStatusNetSpeed::imageKey() const
{
    return m_signalImage->imageKey();
}

QString CStatusNetSpeed::serverToolTipText()
{
    const CConfig* config = getConfig();
    QString text;
    if (CAppConfig::isClientType(0) && !getUserConfig()->isVarnoQuoteMode()) {
        text = QStringLiteral("交易服务器: ") + config->tradeServerAddress() + QStringLiteral("\n市场状态服务器: ")
            + config->marketStatusServerAddress() + QStringLiteral("\n服务器版本: ") + getServiceClient()->getServerVersion();
    } else if (CAppConfig::isClientType(0)) {
        text = QStringLiteral("交易服务器: ") + config->tradeServerAddress();
    } else {
        text = QStringLiteral("市场状态服务器: ") + config->marketStatusServerAddress();
    }
    if (RPCClient* client = getServiceClient()->getClient()) {
        if (NetConnection* connection = client->getConnection())
            text += QStringLiteral("\n网络延迟: ") + QString::number(connection->getDelay() * kMsPerSecond, 'g', 6) + QStringLiteral("ms");
    }
    return text;
}

void CStatusNetSpeed::enterEvent(QEvent* event)
{
    CBaseWidget::enterEvent(event);
    m_frame.setLook(CItemFrame::Hover);
    const QString text = serverToolTipText();
    const int padding = CUiResource::instance()->scaledPx(kToolTipPadding);
    const QSize size = CSimpleText::getSize(text, QStringLiteral("fnt_default_normal")) + QSize(padding, padding);
    QToolTip::showText(mapToGlobal(QPoint(0, 0)), text, this, QRect(QPoint(0, 0), size));
}

void CStatusNetSpeed::leaveEvent(QEvent* event)
{
    CBaseWidget::leaveEvent(event);
    m_frame.setLook(CItemFrame::Rest);
    QToolTip::hideText();
}

void CStatusNetSpeed::mousePressEvent(QMouseEvent* event)
{
    CBaseWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_frame.setLook(CItemFrame::Pressed);
    deliverEvent(Event_Activate, StatusBarEvent::IdNetSpeedChart, 0, QString(), nullptr);
}

void CStatusNetSpeed::paintEvent(QPaintEvent* event)
{
    CBaseWidget::paintEvent(event);
    QPainter painter(this);
    m_frame.paint(painter);
}

void CStatusNetSpeed::resizeEvent(QResizeEvent* event)
{
    CBaseWidget::resizeEvent(event);
    const CUiResource* resource = CUiResource::instance();
    const int y = (height() - m_signalImage->height()) / 2 + resource->scaledPx(kImageDrop);
    m_signalImage->move(resource->scaledPx(kImageLeft), y);
}
