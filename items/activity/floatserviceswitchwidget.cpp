#include "floatserviceswitchwidget.h"

#include <statusbar/serviceswitchcheckbox.h>

#include <terminalhost/simpletextwidget.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <algorithm>

namespace {
constexpr int kFewSlots = 2;        // the menu keeps room for two entries even with one
constexpr int kAllSlots = 3;
// Heights and offsets are px at 100 %, taken at the UI scale.
constexpr int kSlotHeight = 30;     // px per slot in the menu's height
constexpr int kHeightPadding = 8;   // px
constexpr int kRowsAllowance = 40;  // px taken off the height before spreading the first row's y
constexpr int kRowX = 10;
const char kRowFont[] = "fnt_default_normal_fix";

int slotsFor(int serviceCount)
{
    return serviceCount < kAllSlots ? kFewSlots : kAllSlots;
}

int availableServices()
{
    const CUserConfig* config = getUserConfig();
    return (config->hasFileOrderService() ? 1 : 0) + (config->hasDbfOrderService() ? 1 : 0)
        + (config->hasCsvOrderService() ? 1 : 0);
}
}

CFloatServiceSwitchWidget::CFloatServiceSwitchWidget(QWidget* parent)
    : CFloatWidget(parent)
{
    const int services = availableServices();
    m_slotCount = slotsFor(services);
    setFixedHeight(menuHeight(services));
}

int CFloatServiceSwitchWidget::menuHeight(int serviceCount)
{
    const CUiResource* resource = CUiResource::instance();
    return slotsFor(serviceCount) * resource->scaledPx(kSlotHeight) + resource->scaledPx(kHeightPadding);
}

int CFloatServiceSwitchWidget::firstRowY(int menuHeight, int slotCount)
{
    return slotCount > 0 ? (menuHeight - CUiResource::instance()->scaledPx(kRowsAllowance)) / slotCount : 0;
}

void CFloatServiceSwitchWidget::addService(const QString& text, int id)
{
    auto* row = new CServiceSwitchCheckBox(text, id, this);
    row->textWidget()->setFontKey(QLatin1String(kRowFont));
    connect(row, &CServiceSwitchCheckBox::sigServiceClick, this, &CFloatServiceSwitchWidget::slotServiceClick);
    m_rows.push_back(row);
    layoutRows();
    update();
}

void CFloatServiceSwitchWidget::slotServiceClick(int nID)
{
    hide();
    emit sigServiceSelected(nID);
}

void CFloatServiceSwitchWidget::resizeEvent(QResizeEvent* event)
{
    CFloatWidget::resizeEvent(event);
    layoutRows();
}

void CFloatServiceSwitchWidget::layoutRows()
{
    const int rowX = CUiResource::instance()->scaledPx(kRowX);
    int y = firstRowY(height(), m_slotCount);
    for (CServiceSwitchCheckBox* row : m_rows) {
        row->setGeometry(rowX, y, std::max(0, width() - 2 * rowX), row->height());
        y += row->height();
    }
}
