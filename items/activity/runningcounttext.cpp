#include "runningcounttext.h"

#include <terminalhost/simpletext.h>
#include <terminalhost/simpletextwidget.h>

namespace {
const char kCaptionFont[] = "fnt_default_normal_fix";
const char kCaptionColor[] = "clr_text_default";
const char kCounterFont[] = "fnt_default_normal_heavy_fix";
const char kCounterColor[] = "clr_global_rise";
constexpr int kTextMaxWidth = 100000;
}

CRunningCountText::CRunningCountText(const QString& fullCaption, const QString& liteCaption, QWidget* owner)
    : m_fullCaption(fullCaption)
    , m_liteCaption(liteCaption)
    , m_label(new CSimpleTextWidget(true, 0, fullCaption, owner))
    , m_counter(new CSimpleTextWidget(true, 0, QStringLiteral("0"), owner))
{
    m_label->setFontKey(QLatin1String(kCaptionFont));
    m_label->setColorKey(QLatin1String(kCaptionColor));
    m_counter->setFontKey(QLatin1String(kCounterFont));
    m_counter->setColorKey(QLatin1String(kCounterColor));
}

void CRunningCountText::showCaption(bool lite)
{
    m_label->setText(lite ? m_liteCaption : m_fullCaption, kTextMaxWidth);
}

bool CRunningCountText::showCount(int count)
{
    const QString text = QStringLiteral("%1").arg(count);
    m_counter->setText(text, kTextMaxWidth);
    // The counter keeps a fixed width between counts, so this is the width of the last number.
    const int before = m_counter->width();
    m_counter->setFixedWidth(CSimpleText::getSize(text, QLatin1String(kCounterFont)).width());
    return m_counter->width() > before;
}

int CRunningCountText::textWidth() const
{
    return m_label->width() + m_counter->width();
}
