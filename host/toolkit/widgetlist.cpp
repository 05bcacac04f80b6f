#include "widgetlist.h"

#include <QResizeEvent>
#include <QScopedValueRollback>

CWidgetList::CWidgetList(Qt::Orientation orientation, QWidget* parent)
    : CBaseWidget(QStringLiteral("widget_list"), false, parent)
    , m_orientation(orientation)
{
}

void CWidgetList::watch(QWidget* widget, bool takeFocus)
{
    widget->setParent(this);
    // A click focuses only the widgets that ask for it; the keyboard still reaches the others by
    // Tab, as it reaches a toolbar's buttons, unless they only decorate the row.
    const auto* toolkitWidget = qobject_cast<CBaseWidget*>(widget);
    const bool tabStop = toolkitWidget && toolkitWidget->isTabStopInList();
    widget->setFocusPolicy(takeFocus ? Qt::StrongFocus : tabStop ? Qt::TabFocus : Qt::NoFocus);
    widget->installEventFilter(this);
}

void CWidgetList::addFixedWidget(QWidget* widget, int anchor, bool takeFocus)
{
    if (!widget)
        return;
    watch(widget, takeFocus);
    m_entries.push_back(Entry{widget, false, 0, 0, anchor});
    layoutChildren();
}

void CWidgetList::addStretchWidget(QWidget* widget, int stretch, int anchor, bool takeFocus)
{
    if (!widget)
        return;
    watch(widget, takeFocus);
    m_entries.push_back(Entry{widget, false, 0, std::max(1, stretch), anchor});
    layoutChildren();
}

void CWidgetList::addFixedSpace(int px)
{
    m_entries.push_back(Entry{nullptr, true, px, 0, Anchor_Center});
    layoutChildren();
}

void CWidgetList::addStretchSpace(int stretch)
{
    m_entries.push_back(Entry{nullptr, true, 0, std::max(1, stretch), Anchor_Center});
    layoutChildren();
}

void CWidgetList::setMargin(int left, int top, int right, int bottom)
{
    m_margins = QMargins(left, top, right, bottom);
    layoutChildren();
}

void CWidgetList::setSpacing(int px)
{
    m_spacing = px;
    layoutChildren();
}

void CWidgetList::updateWidgetLength()
{
    layoutChildren();
}

void CWidgetList::holdLayout()
{
    ++m_layoutHolds;
}

void CWidgetList::releaseLayout()
{
    if (m_layoutHolds == 0 || --m_layoutHolds > 0 || !m_layoutPending)
        return;
    layoutChildren();
}

void CWidgetList::resizeEvent(QResizeEvent* event)
{
    CBaseWidget::resizeEvent(event);
    layoutChildren();
}

bool CWidgetList::eventFilter(QObject* watched, QEvent* event)
{
    // A child that changed its own size, or came or went, moves its neighbours along.
    const QEvent::Type type = event->type();
    if (!m_layingOut && (type == QEvent::Resize || type == QEvent::Show || type == QEvent::Hide))
        layoutChildren();
    return CBaseWidget::eventFilter(watched, event);
}

bool CWidgetList::takesRoom(const Entry& entry) const
{
    // A space always counts; a widget only while it lives and is not hidden.
    return entry.isSpace || (entry.widget && !entry.widget->isHidden());
}

int CWidgetList::lengthOf(const QWidget* widget) const
{
    return m_orientation == Qt::Horizontal ? widget->width() : widget->height();
}

void CWidgetList::layoutChildren()
{
    if (m_layoutHolds > 0) {
        m_layoutPending = true;
        return;
    }
    m_layoutPending = false;
    const QScopedValueRollback<bool> guard(m_layingOut, true);
    const bool horizontal = m_orientation == Qt::Horizontal;
    const int mainStart = horizontal ? m_margins.left() : m_margins.top();
    const int mainEnd = horizontal ? m_margins.right() : m_margins.bottom();
    const int crossStart = horizontal ? m_margins.top() : m_margins.left();
    const int crossEnd = horizontal ? m_margins.bottom() : m_margins.right();
    const int mainTotal = horizontal ? width() : height();
    const int crossTotal = horizontal ? height() : width();

    int fixedLength = 0;
    int stretchSum = 0;
    int placed = 0;
    int tailLength = 0; ///< what follows the last stretch entry, the spacing before each included
    const Entry* lastStretch = nullptr;
    for (const Entry& entry : m_entries) {
        if (!takesRoom(entry))
            continue;
        const int length = entry.widget ? lengthOf(entry.widget) : entry.length;
        if (entry.stretch > 0) {
            stretchSum += entry.stretch;
            lastStretch = &entry;
            tailLength = 0;
        } else {
            fixedLength += length;
            tailLength += m_spacing + length;
        }
        ++placed;
    }
    const int gaps = placed > 1 ? (placed - 1) * m_spacing : 0;
    const int available = mainTotal - mainStart - mainEnd;
    const int spare = std::max(0, available - fixedLength - gaps);
    // A row longer than the list keeps what follows its last stretch against the far edge, and of the
    // part before it shows only the widgets that fit whole: the end of the row (a status bar's clock)
    // stays whole, and no widget shows half its text (a cut price reads as another number).
    const bool overflows = lastStretch && fixedLength + gaps > available;
    const int tailStart = mainTotal - mainEnd - tailLength;
    bool leading = overflows;

    int position = mainStart;
    int stretchGiven = 0;
    int stretchSeen = 0;
    bool first = true;
    for (Entry& entry : m_entries) {
        if (!takesRoom(entry))
            continue;
        if (!first)
            position += m_spacing;
        first = false;
        int length = entry.widget ? lengthOf(entry.widget) : entry.length;
        if (entry.stretch > 0) {
            // The last stretch entry takes the rounding remainder so the row ends exactly at the margin.
            stretchSeen += entry.stretch;
            const int upTo = stretchSum > 0 ? spare * stretchSeen / stretchSum : 0;
            length = upTo - stretchGiven;
            stretchGiven = upTo;
            if (overflows && &entry == lastStretch) {
                leading = false;
                position = tailStart;
                length = 0;
            }
        }
        if (QWidget* widget = entry.widget) {
            setCutAway(entry, leading && position + length > tailStart);
            const int cross = entry.anchor == Anchor_Fill ? crossTotal : horizontal ? widget->height() : widget->width();
            int crossPos = crossStart;
            switch (entry.anchor) {
            case Anchor_Center:
                crossPos = crossStart + (crossTotal - crossStart - crossEnd - cross) / 2;
                break;
            case Anchor_End:
                crossPos = crossTotal - crossEnd - cross;
                break;
            case Anchor_Fill:
                crossPos = 0;
                break;
            default:
                break;
            }
            if (horizontal)
                widget->setGeometry(position, crossPos, length, cross);
            else
                widget->setGeometry(crossPos, position, cross, length);
        }
        position += length;
    }
}

void CWidgetList::setCutAway(Entry& entry, bool cutAway)
{
    if (entry.cutAway == cutAway)
        return;
    entry.cutAway = cutAway;
    // A mask keeps the widget's own size, which its owner reads back; an empty mask would mean no
    // mask at all, so the one that hides everything lies outside the widget.
    if (cutAway)
        entry.widget->setMask(QRegion(-1, -1, 1, 1));
    else
        entry.widget->clearMask();
    // Out of sight is out of reach: neither it nor anything inside it takes the keyboard focus,
    // and a focus it held moves on along the row.
    entry.widget->setEnabled(!cutAway);
}
