#include "itembasewidget.h"

#include <statusbar/itemaccessibility.h>

namespace {
const char kItemObjectName[] = "status_bar_item";
}

CItemBaseWidget::CItemBaseWidget(const QString&, bool, QWidget* parent)
    : CBaseWidget(QLatin1String(kItemObjectName), false, parent)
{
    ItemAccessibility::install();
}

CItemBaseWidget::~CItemBaseWidget()
{
    // Runs after the item's own destructor, which may have disconnected all its signals.
    ItemAccessibility::release(this);
}

void CItemBaseWidget::switchToLite(bool)
{
}

int CItemBaseWidget::getMaxWidth()
{
    return 0;
}

int CItemBaseWidget::getMinWidth()
{
    return 0;
}

void CItemBaseWidget::resizeEvent(QResizeEvent* event)
{
    CBaseWidget::resizeEvent(event);
}
