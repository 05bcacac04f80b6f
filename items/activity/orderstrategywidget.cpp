#include "orderstrategywidget.h"

#include <statusbar/itemaccessibility.h>
#include <statusbar/statusbarevents.h>
#include <statusbar/floatserviceswitchwidget.h>

#include <statusbar/statusbartooltip.h>

#include <terminalhost/imagewidget.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/orderservice.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace {
const char kObjectName[] = "order_strategy_widget";
const char kRunningImage[] = "tc_img_status_bar_orderstrategy_running";
const char kNoneImage[] = "tc_img_status_bar_orderstrategy_none";
// Sizes and offsets are px at 100 %, taken at the UI scale.
constexpr int kItemWidth = 29;
constexpr int kIconX = 8;
constexpr int kIconDrop = 1;      // px the icon sits below the vertical centre
constexpr int kMenuSize = 120;    // px; the menu's fixed height overrides the height asked for
constexpr int kMenuOverlap = 12;  // px the menu covers of the item's top

enum EServiceId { Service_File = 0, Service_Dbf = 1, Service_Csv = 2 };

struct ServiceEntry {
    int id;
    bool (CUserConfig::*available)() const;
    int eventArg;
};

// In menu order.
constexpr std::array<ServiceEntry, 3> kServices{{
    {Service_File, &CUserConfig::hasFileOrderService, 1},
    {Service_Dbf, &CUserConfig::hasDbfOrderService, 3},
    {Service_Csv, &CUserConfig::hasCsvOrderService, 4},
}};

QString serviceText(int id)
{
    switch (id) {
    case Service_File:
        // Users granted the renamed module know file orders by their newer name.
        return LuaModuleCtrl::checkModule(QStringList{QStringLiteral("mdl_auth"), QStringLiteral("mdl_auth_order_service_rename")})
            ? QStringLiteral("便捷交易")
            : QStringLiteral("文件单");
    case Service_Dbf:
        return QStringLiteral("批量埋单");
    case Service_Csv:
        return QStringLiteral("CSV预埋");
    default:
        return QString();
    }
}
}

COrderStrategyWidget::COrderStrategyWidget(QWidget* parent)
    : CBaseWidget(QLatin1String(kObjectName), false, parent)
{
    m_running = COrderService::instance()->hasRunning();
    m_icon = new CImageWidget(0, QLatin1String(m_running ? kRunningImage : kNoneImage), this);
    resize(CUiResource::instance()->scaledPx(kItemWidth), height());
    connect(COrderService::instance(), &COrderService::sigSetStatus, this, &COrderStrategyWidget::slotSetStatus);
    ItemAccessibility::describe(this, QStringLiteral("委托服务"), COrderService::instance()->getStatusBarTip());
}

COrderStrategyWidget::~COrderStrategyWidget()
{
    COrderService::instance()->disconnect(this);
}

int COrderStrategyWidget::eventArgForService(int serviceId)
{
    for (const ServiceEntry& service : kServices) {
        if (service.id == serviceId)
            return service.eventArg;
    }
    return 0;
}

void COrderStrategyWidget::slotSetStatus(bool bRunning)
{
    m_icon->setImage(QLatin1String(bRunning ? kRunningImage : kNoneImage));
    m_running = bRunning;
    // The service states itself in its own status text, as hovering shows it.
    ItemAccessibility::setValue(this, COrderService::instance()->getStatusBarTip());
}

void COrderStrategyWidget::slotServiceSelected(int id)
{
    const int arg = eventArgForService(id);
    if (arg != 0)
        deliverEvent(StatusBarEvent::OpenOrderService, 0, arg, QString(), nullptr);
}

void COrderStrategyWidget::enterEvent(QEvent* event)
{
    CBaseWidget::enterEvent(event);
    m_frame.setLook(CItemFrame::Hover);
    StatusBarToolTip::show(m_icon, COrderService::instance()->getStatusBarTip());
}

void COrderStrategyWidget::leaveEvent(QEvent* event)
{
    CBaseWidget::leaveEvent(event);
    m_frame.setLook(CItemFrame::Rest);
}

void COrderStrategyWidget::mousePressEvent(QMouseEvent* event)
{
    CBaseWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const CUserConfig* config = getUserConfig();
    // The CSV service alone has nothing to choose from: the press only marks the item.
    if (config->hasFileOrderService() || config->hasDbfOrderService()) {
        buildMenu();
        showMenu();
    }
    m_frame.setLook(CItemFrame::Pressed);
}

void COrderStrategyWidget::buildMenu()
{
    if (m_menu)
        return;
    // Rows are fixed here: a service that becomes available later waits for the next start.
    m_menu = std::make_unique<CFloatServiceSwitchWidget>(nullptr);
    const CUserConfig* config = getUserConfig();
    for (const ServiceEntry& service : kServices) {
        if ((config->*service.available)())
            m_menu->addService(serviceText(service.id), service.id);
    }
    connect(m_menu.get(), &CFloatServiceSwitchWidget::sigServiceSelected, this, &COrderStrategyWidget::slotServiceSelected);
}

void COrderStrategyWidget::showMenu()
{
    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    const CUiResource* resource = CUiResource::instance();
    m_menu->resize(resource->scaledPx(kMenuSize), resource->scaledPx(kMenuSize));
    m_menu->move(topLeft.x(), topLeft.y() + resource->scaledPx(kMenuOverlap) - m_menu->height());
    m_menu->show();
}

void COrderStrategyWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_frame.paint(painter);
}

void COrderStrategyWidget::resizeEvent(QResizeEvent* event)
{
    CBaseWidget::resizeEvent(event);
    const CUiResource* resource = CUiResource::instance();
    m_icon->move(resource->scaledPx(kIconX), (height() - m_icon->height()) / 2 + resource->scaledPx(kIconDrop));
}
