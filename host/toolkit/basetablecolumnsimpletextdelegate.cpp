#include "basetablecolumnsimpletextdelegate.h"

#include <terminalhost/simpletext.h>
#include <terminalhost/uiresource.h>

#include <QPainter>

#include <algorithm>

namespace {
constexpr int kCellPadding = 6; // px left and right of the text
const char kDefaultColorKey[] = "clr_table_text";
}

CBaseTableColumnSimpleTextDelegate::CBaseTableColumnSimpleTextDelegate(int id, CEventDeliverer* deliverer)
    : CBaseTableColumnDelegate(id, deliverer)
{
}

void CBaseTableColumnSimpleTextDelegate::changed(bool update)
{
    if (update)
        emit sigChanged();
}

void CBaseTableColumnSimpleTextDelegate::setFontKey(const QString& key)
{
    if (key == m_fontKey)
        return;
    m_fontKey = key;
    m_widestKnown = false;
    emit sigChanged();
}

void CBaseTableColumnSimpleTextDelegate::setTextAlignment(int alignment)
{
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    emit sigChanged();
}

void CBaseTableColumnSimpleTextDelegate::setItemText(const QString& key, const QString& text, bool update)
{
    auto it = m_items.find(key);
    if (it == m_items.end()) {
        m_items.insert(key, Item{text, QString(), false});
        const QFont font = CUiResource::instance()->getFont(m_fontKey);
        if (m_widestKnown && font == m_measuredFont)
            m_widest = std::max(m_widest, CSimpleText::measure(text, font).width());
        else
            m_widestKnown = false;
    } else if (it->text != text) {
        it->text = text;
        m_widestKnown = false;
    }
    changed(update);
}

QString CBaseTableColumnSimpleTextDelegate::itemText(const QString& key) const
{
    return m_items.value(key).text;
}

void CBaseTableColumnSimpleTextDelegate::setItemClickable(const QString& key, bool clickable, bool update)
{
    m_items[key].clickable = clickable;
    changed(update);
}

void CBaseTableColumnSimpleTextDelegate::setItemColorKey(const QString& key, const QString& colorKey, bool update)
{
    m_items[key].colorKey = colorKey;
    changed(update);
}

QString CBaseTableColumnSimpleTextDelegate::itemColorKey(const QString& key) const
{
    const QString colorKey = m_items.value(key).colorKey;
    return colorKey.isEmpty() ? QLatin1String(kDefaultColorKey) : colorKey;
}

bool CBaseTableColumnSimpleTextDelegate::isClickable(const QString& key) const
{
    return m_items.value(key).clickable;
}

void CBaseTableColumnSimpleTextDelegate::clearItems()
{
    m_items.clear();
    m_widest = 0;
    m_widestKnown = false;
    emit sigChanged();
}

int CBaseTableColumnSimpleTextDelegate::getAdjustedWidth() const
{
    const QFont font = CUiResource::instance()->getFont(m_fontKey);
    if (!m_widestKnown || font != m_measuredFont) {
        m_measuredFont = font;
        m_widest = 0;
        for (const Item& item : m_items)
            m_widest = std::max(m_widest, CSimpleText::measure(item.text, font).width());
        m_widestKnown = true;
    }
    return m_widest + 2 * kCellPadding;
}

void CBaseTableColumnSimpleTextDelegate::paintCell(QPainter* painter, const QRect& rect, const QString& key, bool hovered) const
{
    const auto it = m_items.constFind(key);
    if (it == m_items.constEnd())
        return;
    QFont font = CUiResource::instance()->getFont(m_fontKey);
    font.setUnderline(hovered && it->clickable);
    painter->save();
    painter->setFont(font);
    painter->setPen(CUiResource::instance()->getColor(itemColorKey(key)));
    painter->drawText(rect.adjusted(kCellPadding, 0, -kCellPadding, 0), m_alignment, it->text);
    painter->restore();
}
