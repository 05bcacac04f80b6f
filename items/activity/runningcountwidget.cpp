#include "runningcountwidget.h"

#include <statusbar/itemaccessibility.h>

#include <terminalhost/imagewidget.h>
#include <terminalhost/simpletext.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/uiresource.h>

namespace {
const char kCaptionFont[] = "fnt_default_normal_fix";
const char kCaptionColor[] = "clr_text_default";
const char kCounterFont[] = "fnt_default_normal_heavy_fix";
const char kCounterColor[] = "clr_global_rise";
constexpr int kTextMaxWidth = 100000;
// Paddings and gaps are px at 100 %, taken at the UI scale.
constexpr int kLeftMargin = 10; // px before the icon, or before the caption without one
constexpr int kIconGap = 12;    // px added after the icon's width
constexpr int kCaptionGap = 2;  // px between caption and number

// " 执行中委托: " is read out as "执行中委托".
QString spokenName(const QString& caption)
{
    QString name = caption.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name;
}

int textWidth(const QString& text, const char* fontKey)
{
    return CSimpleText::getSize(text, QLatin1String(fontKey)).width();
}
}

CRunningCountWidget::CRunningCountWidget(const Parts& parts, QWidget* parent)
    : CItemBaseWidget(QString(), false, parent)
    , m_fullCaption(QString::fromUtf8(parts.fullCaption))
    , m_liteCaption(QString::fromUtf8(parts.liteCaption))
    , m_fullPadding(parts.fullPadding)
    , m_litePadding(parts.litePadding)
{
    if (parts.iconKey)
        m_icon = new CImageWidget(0, QLatin1String(parts.iconKey), this);
    m_label = new CSimpleTextWidget(true, 0, m_fullCaption, this);
    m_counter = new CSimpleTextWidget(true, 0, QStringLiteral("0"), this);
    m_label->setFontKey(QLatin1String(kCaptionFont));
    m_label->setColorKey(QLatin1String(kCaptionColor));
    m_counter->setFontKey(QLatin1String(kCounterFont));
    m_counter->setColorKey(QLatin1String(kCounterColor));
    measureCaptions();
    ItemAccessibility::describe(this, spokenName(m_fullCaption), m_counter->getText());
}

void CRunningCountWidget::updateCount(int count)
{
    if (showNumber(count))
        numberWidened();
    showCaption(false);
    resize(getMaxWidth(), height());
    // A hidden item gets no resize event: place the texts here too.
    placeChildren();
}

void CRunningCountWidget::switchToLite(bool lite)
{
    showCaption(lite);
}

int CRunningCountWidget::getMaxWidth()
{
    const int padding = CUiResource::instance()->scaledPx(m_fullPadding);
    return (m_icon ? m_icon->width() : 0) + m_fullCaptionWidth + m_counter->width() + padding;
}

int CRunningCountWidget::getMinWidth()
{
    const int padding = CUiResource::instance()->scaledPx(m_litePadding);
    return (m_icon ? m_icon->width() : 0) + m_liteCaptionWidth + m_counter->width() + padding;
}

void CRunningCountWidget::themeChanged()
{
    CItemBaseWidget::themeChanged();
    measureCaptions();
    // The next number shown is measured in the new font, and asks for room if it grew.
    m_numberStale = true;
}

void CRunningCountWidget::resizeEvent(QResizeEvent* event)
{
    CItemBaseWidget::resizeEvent(event);
    placeChildren();
}

void CRunningCountWidget::showCaption(bool lite)
{
    const QString& caption = lite ? m_liteCaption : m_fullCaption;
    if (m_label->getText() == caption)
        return;
    m_label->setText(caption, kTextMaxWidth);
    // The item's width may stay where its bounds hold it, and then no resize moves the number.
    placeChildren();
}

bool CRunningCountWidget::showNumber(int count)
{
    const QString text = QStringLiteral("%1").arg(count);
    if (text == m_counter->getText() && !m_numberStale)
        return false;
    m_numberStale = false;
    m_counter->setText(text, kTextMaxWidth);
    ItemAccessibility::setValue(this, text);
    // The counter keeps a fixed width between numbers, so this is the width of the last one.
    const int before = m_counter->width();
    m_counter->setFixedWidth(textWidth(text, kCounterFont));
    return m_counter->width() > before;
}

void CRunningCountWidget::measureCaptions()
{
    m_fullCaptionWidth = textWidth(m_fullCaption, kCaptionFont);
    m_liteCaptionWidth = textWidth(m_liteCaption, kCaptionFont);
}

void CRunningCountWidget::placeChildren()
{
    const CUiResource* resource = CUiResource::instance();
    const int h = height();
    const int iconWidth = m_icon ? m_icon->width() : 0;
    const int beforeCaption = m_icon ? kIconGap : kLeftMargin;
    if (m_icon)
        m_icon->move(resource->scaledPx(kLeftMargin), (h - m_icon->height()) / 2);
    m_label->move(iconWidth + resource->scaledPx(beforeCaption), (h - m_label->height()) / 2);
    // Scaled as one figure, so that the number ends where the padding of the item's width says.
    const int beforeCounter = resource->scaledPx(beforeCaption + kCaptionGap);
    m_counter->move(iconWidth + m_label->width() + beforeCounter, (h - m_counter->height()) / 2);
}
