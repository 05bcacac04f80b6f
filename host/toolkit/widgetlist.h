#pragma once

#include <terminalhost/basewidget.h>

#include <QPointer>

#include <vector>

/**
 * @brief Where a widget sits across the list's direction (vertically in a horizontal list).
 */
enum EWidgetAnchor {
    Anchor_Start = 0,  ///< top (horizontal list) or left, inside the margin
    Anchor_Center = 1, ///< centred inside the margins, keeping its own cross size
    Anchor_End = 2,    ///< bottom or right, inside the margin
    Anchor_Fill = 3,   ///< stretched across the whole list, margins not applied: full-height items, full-width tables
};

/**
 * @brief Lays its children out in insertion order along one direction: fixed widgets keep their own
 * length, stretch widgets and stretch spaces share what is left, fixed spaces and the spacing
 * separate them, all inside the margins.
 *
 * The list reads the children's lengths when it lays out, which it does again whenever a child
 * resizes itself or updateWidgetLength() is called; under a hold (holdLayout()) all of that comes
 * down to one layout when the hold ends. Hidden children take no room. A row longer than the list
 * keeps its part after the last stretch whole at the far edge and, of the part before it, shows the
 * widgets that fit whole; the others are masked away and disabled, so that Tab passes over them.
 */
class TERMINALHOST_EXPORT CWidgetList : public CBaseWidget
{
    Q_OBJECT
public:
    CWidgetList(Qt::Orientation orientation, QWidget* parent);

    void addFixedWidget(QWidget* widget, int anchor, bool takeFocus);
    void addStretchWidget(QWidget* widget, int stretch, int anchor, bool takeFocus);
    void addFixedSpace(int px);
    void addStretchSpace(int stretch);
    void setMargin(int left, int top, int right, int bottom);
    void setSpacing(int px);
    /// Re-reads the children's lengths and lays them out again.
    void updateWidgetLength();
    /// Holds back every relayout while the caller changes several children at once; the last
    /// releaseLayout() lays the list out once if anything asked for it meanwhile.
    void holdLayout();
    void releaseLayout();

    Qt::Orientation orientation() const { return m_orientation; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QPointer<QWidget> widget; ///< null for a space
        bool isSpace = false;
        int length = 0;           ///< fixed space length
        int stretch = 0;          ///< 0 for fixed entries
        int anchor = Anchor_Center;
        bool cutAway = false;     ///< masked away: a too long row has no room for it
    };
    void layoutChildren();
    void watch(QWidget* widget, bool takeFocus);
    bool takesRoom(const Entry& entry) const;
    int lengthOf(const QWidget* widget) const;
    /// Hides a child that a too long row has no room for, or shows it again.
    void setCutAway(Entry& entry, bool cutAway);

    Qt::Orientation m_orientation;
    std::vector<Entry> m_entries;
    int m_spacing = 0;
    QMargins m_margins;
    bool m_layingOut = false; ///< the list itself is moving its children
    int m_layoutHolds = 0;
    bool m_layoutPending = false; ///< a relayout was asked for while held
};

/// Holds a widget list's relayouts for as long as it lives (CWidgetList::holdLayout()).
class CWidgetListLayoutHold
{
public:
    explicit CWidgetListLayoutHold(CWidgetList* list) : m_list(list) { m_list->holdLayout(); }
    ~CWidgetListLayoutHold() { m_list->releaseLayout(); }
    CWidgetListLayoutHold(const CWidgetListLayoutHold&) = delete;
    CWidgetListLayoutHold& operator=(const CWidgetListLayoutHold&) = delete;

private:
    CWidgetList* m_list = nullptr;
};
