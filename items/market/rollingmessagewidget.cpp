#include "rollingmessagewidget.h"

#include <statusbar/itemaccessibility.h>
#include <statusbar/statusbarevents.h>

#include <terminalhost/msgservice.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/uiresource.h>

#include <QResizeEvent>
#include <QTimer>

#include <boost/bind/bind.hpp>

namespace {
const char kObjectName[] = "rolling_message_widget";
const char kTitle[] = "消息提示:";
const char kSpokenName[] = "消息提示";
const char kTitleFont[] = "fnt_default_normal_fix";
const char kTitleColor[] = "clr_text_default";
const char kCountFont[] = "fnt_default_normal_heavy_fix";
const char kCountColor[] = "clr_global_rise";
constexpr int kTitleId = 101;
constexpr int kCountId = 103;
constexpr int kWholeViewId = -1;  // the message view as a whole, not one message
constexpr int kTextMaxWidth = 100000;
constexpr int kRefreshMs = 1000;
// Offsets and paddings are px at 100 %, taken at the UI scale.
constexpr int kTitleX = 5;        // px
constexpr int kCountGap = 10;     // px from the title's width to the count
constexpr int kWidthPadding = 10; // px beside title and count

// The bar sets the title again on every width change; decoding it once keeps that cheap.
const QString& titleCaption()
{
    static const QString text = QString::fromUtf8(kTitle);
    return text;
}

int countOf(int type)
{
    return static_cast<int>(CMsgService::instance()->getMessages(type).size());
}
}

CRollingMessageWidget::CRollingMessageWidget(QWidget* parent)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
{
    m_title = new CSimpleTextWidget(true, kTitleId, titleCaption(), this);
    m_title->setFontKey(QLatin1String(kTitleFont));
    m_title->setColorKey(QLatin1String(kTitleColor));
    m_countText = new CSimpleTextWidget(true, kCountId, QStringLiteral("0"), this);
    m_countText->setFontKey(QLatin1String(kCountFont));
    m_countText->setColorKey(QLatin1String(kCountColor));

    // At first only trade messages count; the first refresh adds the system messages.
    m_count->store(countOf(MessageType_Trade));
    m_countText->setText(QStringLiteral("%1").arg(m_count->load()), kTextMaxWidth);
    ItemAccessibility::describe(this, QString::fromUtf8(kSpokenName), m_countText->getText());

    connect(CMsgService::instance(), &CMsgService::sigRefresh, this, &CRollingMessageWidget::slotRefresh);
    m_connection = CMsgService::instance()->sigNewMessage.connect(
        CMsgService::MessageSignal::slot_type(&CRollingMessageWidget::countMessage, m_count.get(), boost::placeholders::_1)
            .track_foreign(m_count));

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &CRollingMessageWidget::slotTimeout);
    m_timer->start(kRefreshMs);
}

CRollingMessageWidget::~CRollingMessageWidget()
{
    m_timer->stop();
    disconnect();
    QObject::disconnect(CMsgService::instance(), nullptr, this, nullptr);
    m_connection.disconnect();
}

void CRollingMessageWidget::countMessage(std::atomic<int>* count, const std::shared_ptr<CMessage>& message)
{
    if (message && (message->type() == MessageType_Trade || message->type() == MessageType_System))
        count->fetch_add(1);
}

void CRollingMessageWidget::slotTimeout()
{
    const QString count = QStringLiteral("%1").arg(m_count->load());
    m_countText->setText(count, kTextMaxWidth);
    ItemAccessibility::setValue(this, count);
}

void CRollingMessageWidget::slotRefresh()
{
    m_count->store(countOf(MessageType_Trade));
    m_count->fetch_add(countOf(MessageType_System));
}

bool CRollingMessageWidget::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type != Event_Click)
        return CItemBaseWidget::handleEvent(type, id, arg, text, data);
    if (id == kTitleId || id == kCountId)
        deliverEvent(StatusBarEvent::Messages, kWholeViewId, 0, QString(), nullptr);
    m_count->store(0);
    return true;
}

int CRollingMessageWidget::getMaxWidth()
{
    m_title->setText(titleCaption(), kTextMaxWidth);
    return m_title->width() + m_countText->width() + CUiResource::instance()->scaledPx(kWidthPadding);
}

int CRollingMessageWidget::getMinWidth()
{
    return m_title->width() + m_countText->width() + CUiResource::instance()->scaledPx(kWidthPadding);
}

void CRollingMessageWidget::switchToLite(bool)
{
    // The item looks the same in both forms.
    m_title->setText(titleCaption(), kTextMaxWidth);
}

void CRollingMessageWidget::resizeEvent(QResizeEvent* event)
{
    CItemBaseWidget::resizeEvent(event);
    const int h = event->size().height();
    m_title->resize(m_title->sizeHint().width(), m_title->height());
    const CUiResource* resource = CUiResource::instance();
    m_title->move(resource->scaledPx(kTitleX), (h - m_title->height()) / 2);
    m_countText->resize(m_countText->sizeHint().width(), m_countText->height());
    m_countText->move(m_title->width() + resource->scaledPx(kCountGap), (h - m_countText->height()) / 2);
}
