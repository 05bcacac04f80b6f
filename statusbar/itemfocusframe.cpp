#include "itemfocusframe.h"

#include <terminalhost/uiresource.h>

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace {
const char kFocusBorder[] = "clr_statusbar_item_focus_border";
constexpr int kOutset = 1; // px outside the item, in the spacing between the row's widgets
}

CItemFocusFrame::CItemFocusFrame(QWidget* row)
    : QWidget(row)
    , m_row(row)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The row lays out the widgets it was given; this one comes and goes without telling it.
    setAttribute(Qt::WA_NoChildEventsForParent);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
}

void CItemFocusFrame::follow(QWidget* focused)
{
    QWidget* item = focused;
    while (item && item->parentWidget() != m_row)
        item = item->parentWidget();
    if (item == m_item)
        return;
    if (m_item)
        m_item->removeEventFilter(this);
    m_item = item;
    if (!item) {
        hide();
        return;
    }
    item->installEventFilter(this);
    placeAroundItem();
    raise();
    show();
}

void CItemFocusFrame::placeAroundItem()
{
    // A row as high as its items keeps the top and bottom lines on the items' own edge rows.
    setGeometry(m_item->geometry().adjusted(-kOutset, -kOutset, kOutset, kOutset).intersected(m_row->rect()));
}

bool CItemFocusFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_item && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeAroundItem();
    return QWidget::eventFilter(watched, event);
}

void CItemFocusFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(CUiResource::instance()->getColor(QLatin1String(kFocusBorder)));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
