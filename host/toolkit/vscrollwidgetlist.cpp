#include "vscrollwidgetlist.h"

#include <terminalhost/uiresource.h>

#include <QScrollArea>
#include <QVBoxLayout>

namespace {
constexpr int kHorizontalMargin = 8; // px left and right of the widgets
constexpr int kVerticalMargin = 4;   // px above the first and below the last
}

CVScrollWidgetList::CVScrollWidgetList(int flags, QWidget* parent)
    : CBaseWidget(QStringLiteral("vscroll_widget_list"), false, parent)
    , m_area(new QScrollArea(this))
    , m_content(new QWidget)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_area);
    m_area->setFrameShape(QFrame::NoFrame);
    m_area->setWidgetResizable(true);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_area->setVerticalScrollBarPolicy((flags & Flag_ScrollBarAsNeeded) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn);
    m_content->setObjectName(QStringLiteral("vscroll_widget_list_content"));
    m_layout = new QVBoxLayout(m_content);
    m_layout->setContentsMargins(kHorizontalMargin, kVerticalMargin, kHorizontalMargin, kVerticalMargin);
    m_layout->setSpacing(0);
    m_layout->addStretch(1); // the widgets stay at the top of a list taller than they are
    m_area->setWidget(m_content);
    applyTheme();
}

CVScrollWidgetList::~CVScrollWidgetList()
{
    // The widgets outlive this part of the list by a moment: they must not reach back into it.
    for (QWidget* widget : qAsConst(m_widgets))
        disconnect(widget, nullptr, this, nullptr);
}

void CVScrollWidgetList::addWidget(QWidget* widget)
{
    if (!widget || m_widgets.contains(widget))
        return;
    // Before the closing stretch.
    m_layout->insertWidget(m_layout->count() - 1, widget);
    m_widgets.append(widget);
    connect(widget, &QObject::destroyed, this, [this, widget] { m_widgets.removeOne(widget); });
}

void CVScrollWidgetList::clearWidgets(bool deferDelete)
{
    const QList<QWidget*> widgets = m_widgets;
    m_widgets.clear();
    for (QWidget* widget : widgets) {
        m_layout->removeWidget(widget);
        if (deferDelete) {
            widget->hide();
            widget->deleteLater();
        } else {
            delete widget;
        }
    }
}

void CVScrollWidgetList::themeChanged()
{
    applyTheme();
}

void CVScrollWidgetList::applyTheme()
{
    const CUiResource* resource = CUiResource::instance();
    auto color = [resource](const char* key) { return resource->getColor(QLatin1String(key)).name(); };
    m_area->setStyleSheet(QStringLiteral("QScrollArea, QWidget#vscroll_widget_list_content { background: %1; }"
                                         "QScrollBar:vertical { background: %1; width: 10px; margin: 0; }"
                                         "QScrollBar::handle:vertical { background: %2; min-height: 24px; border-radius: 4px; }"
                                         "QScrollBar::handle:vertical:hover { background: %3; }"
                                         "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
                                         "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }")
                              .arg(color("clr_dialog_background"), color("clr_button_background"), color("clr_button_hover_background")));
}
