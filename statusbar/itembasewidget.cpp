#include "itembasewidget.h"

namespace {
const char kItemObjectName[] = "status_bar_item";
}

CItemBaseWidget::CItemBaseWidget(const QString&, bool, QWidget* parent)
    : CBaseWidget(QLatin1String(kItemObjectName), false, parent)
{
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
