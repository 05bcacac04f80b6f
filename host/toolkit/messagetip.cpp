#include "messagetip.h"

#include <terminalhost/simpletext.h>
#include <terminalhost/uiresource.h>

#include <QEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QScreen>
#include <QTimer>

namespace {
constexpr int kPaddingX = 8; // px left and right of the text
constexpr int kPaddingY = 4; // px above and below the text
constexpr int kGapPx = 2;    // between the tip and the widget it points at
const char kFontKey[] = "fnt_default_normal";

QPointer<CMessageTip>& transientTip()
{
    static QPointer<CMessageTip> tip;
    return tip;
}
}

CMessageTip::CMessageTip(QWidget* owner, int lifeSeconds, int fadeMs)
    : CBaseWidget(QStringLiteral("message_tip"), false, owner)
    , m_lifeSeconds(lifeSeconds)
    , m_fadeMs(fadeMs)
{
    // A window of its own that floats over everything and never takes the focus from the terminal.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    m_lifeTimer = new QTimer(this);
    m_lifeTimer->setSingleShot(true);
    connect(m_lifeTimer, &QTimer::timeout, this, &CMessageTip::slotLifeEnded);
    m_fade = new QPropertyAnimation(this, "windowOpacity", this);
    m_fade->setStartValue(1.0);
    m_fade->setEndValue(0.0);
    connect(m_fade, &QPropertyAnimation::finished, this, &QWidget::close);
    fitToContent();
}

CMessageTip* CMessageTip::showTip(QWidget* owner, int position, const QString& text, int lifeSeconds, int fadeMs)
{
    if (!owner)
        return nullptr;
    if (transientTip())
        transientTip()->close();
    auto* tip = new CMessageTip(owner, lifeSeconds, fadeMs);
    transientTip() = tip;
    tip->setContent(text);
    tip->move(tip->getPoint(owner, position));
    tip->setWidget(owner);
    tip->show();
    tip->raise();
    return tip;
}

void CMessageTip::setContent(const QString& text)
{
    if (text == m_content)
        return;
    m_content = text;
    fitToContent();
    update();
}

void CMessageTip::setWidget(QWidget* widget)
{
    if (widget == m_widget)
        return;
    if (m_widget)
        m_widget->removeEventFilter(this);
    m_widget = widget;
    if (m_widget)
        m_widget->installEventFilter(this);
}

QPoint CMessageTip::getPoint(QWidget* widget, int position) const
{
    Q_UNUSED(position) // every position is placed as MessageTip_AboveLeft, the only one defined
    if (!widget)
        return pos();
    const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
    QPoint point(topLeft.x(), topLeft.y() - height() - kGapPx);
    const QScreen* screen = widget->screen();
    if (!screen)
        return point;
    const QRect area = screen->availableGeometry();
    if (point.y() < area.top())
        point.setY(topLeft.y() + widget->height() + kGapPx);
    point.setX(qBound(area.left(), point.x(), qMax(area.left(), area.right() + 1 - width())));
    return point;
}

void CMessageTip::themeChanged()
{
    fitToContent();
    update();
}

void CMessageTip::slotLifeEnded()
{
    m_lifeTimer->stop();
    m_fade->stop();
    m_fade->setDuration(qMax(0, m_fadeMs));
    m_fade->start();
}

bool CMessageTip::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_widget && event->type() == QEvent::Hide)
        hide();
    return CBaseWidget::eventFilter(watched, event);
}

void CMessageTip::showEvent(QShowEvent* event)
{
    CBaseWidget::showEvent(event);
    // A tip shown again after a fade starts whole, with its full life.
    m_fade->stop();
    setWindowOpacity(1.0);
    if (m_lifeSeconds >= 0)
        m_lifeTimer->start(m_lifeSeconds * 1000);
}

void CMessageTip::mousePressEvent(QMouseEvent* event)
{
    CBaseWidget::mousePressEvent(event);
    close();
}

void CMessageTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    painter.fillRect(rect(), resource->getColor(QStringLiteral("clr_message_tip_background")));
    painter.setPen(resource->getColor(QStringLiteral("clr_message_tip_border")));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(resource->getFont(QLatin1String(kFontKey)));
    painter.setPen(resource->getColor(QStringLiteral("clr_message_tip_text")));
    painter.drawText(rect(), Qt::AlignCenter, m_content);
}

void CMessageTip::fitToContent()
{
    const QSize text = CSimpleText::getSize(m_content, QLatin1String(kFontKey));
    setFixedSize(text.width() + 2 * kPaddingX, text.height() + 2 * kPaddingY);
}
