#include "currenttimewidget.h"

#include <statusbar/itemaccessibility.h>

#include <terminalhost/hostutils.h>
#include <terminalhost/menu.h>
#include <terminalhost/nstatejiugongimage.h>
#include <terminalhost/stylesheetcenter.h>
#include <terminalhost/timeservice.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/userconfig.h>

#include <QAction>
#include <QMouseEvent>
#include <QPainter>

#include <boost/format.hpp>

namespace {
const char kObjectName[] = "current_time_widget";
const char kBackgroundImage[] = "tc_img_status_current_time";
const char kFontKey[] = "tc_fnt_statusbar_nettime";
const char kColorKey[] = "ic_clr_statusbar_current_time_text";
const char kNetworkTimeEntry[] = "使用网络标准时间";
const char kSpokenName[] = "时间";
const char kDateFormat[] = "yyyy/MM/dd";
// Widths, paddings and offsets are px at 100 %, taken at the UI scale.
constexpr int kFullWidth = 135;       // px before the first update
constexpr int kLiteWidth = 60;        // px before the first update
constexpr int kDateTimePadding = 18;  // px around date and time
constexpr int kTimePadding = 4;       // px around the time alone
constexpr int kTextLeft = 10;
constexpr int kDateGap = 4;           // px between date and time
constexpr int kMenuWidth = 110;
constexpr int kMenuHeight = 26;
constexpr int kBackgroundInset = 5;       // px left, right and above the background
constexpr int kBackgroundHeightCut = 12;  // px the background is shorter than the item
constexpr int kTextAlignment = Qt::AlignLeft | Qt::AlignVCenter;
enum MouseState { Normal = 0, Hover = 1, Pressed = 2 };
}

CCurrentTimeWidget::CCurrentTimeWidget(QWidget* parent)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
{
    setMouseTracking(true);
    const CUiResource* resource = CUiResource::instance();
    resize(resource->scaledPx(kFullWidth), height());
    m_background = std::make_unique<CNStateJiuGongImage>(QLatin1String(kBackgroundImage), true, 4, 4, 13, 4, 13);
    m_useNetworkTime = getUserConfig()->useNetworkTime;

    m_menu = std::make_unique<CMenu>();
    m_menu->resize(resource->scaledPx(kMenuWidth), resource->scaledPx(kMenuHeight));
    m_action = m_menu->addAction(QString::fromUtf8(kNetworkTimeEntry));
    m_action->setCheckable(true);
    connect(m_action, &QAction::triggered, this, &CCurrentTimeWidget::slotTriggered);
    m_menu->setFocusPolicy(Qt::NoFocus);
    m_menu->hide();
    m_action->setChecked(m_useNetworkTime);

    connect(getTimeService(), &CTimeService::sigTimeUpdate, this, &CCurrentTimeWidget::slotSetTime);
    ItemAccessibility::describe(this, QString::fromUtf8(kSpokenName));
}

CCurrentTimeWidget::~CCurrentTimeWidget() = default;

void CCurrentTimeWidget::slotSetTime(int seconds)
{
    const QDateTime dateTime = secondToQDateTime(seconds);
    const CUiResource* resource = CUiResource::instance();
    const QFont font = resource->getFont(QLatin1String(kFontKey));
    const QColor color = resource->getColor(QLatin1String(kColorKey));

    m_dateText.setText(dateTime.toString(QLatin1String(kDateFormat)));
    m_dateText.setFont(font);
    m_dateText.setColor(color);

    const QTime time = dateTime.time();
    m_timeText.setText(sToQs((boost::format("%02d:%02d:%02d") % time.hour() % time.minute() % time.second()).str()));
    m_timeText.setFont(font);
    m_timeText.setColor(color);
    m_dateWidth = m_dateText.getSize().width();
    m_timeWidth = m_timeText.getSize().width();
    // Read out whole, also while the compact form leaves the date off.
    ItemAccessibility::setValue(this, m_dateText.text() + QLatin1Char(' ') + m_timeText.text());
    update();
}

void CCurrentTimeWidget::slotTriggered(bool bChecked)
{
    m_action->setChecked(bChecked);
    m_useNetworkTime = bChecked;
    getUserConfig()->useNetworkTime = bChecked;
}

void CCurrentTimeWidget::switchToLite(bool lite)
{
    m_lite = lite;
}

int CCurrentTimeWidget::getMaxWidth()
{
    const CUiResource* resource = CUiResource::instance();
    return m_dateWidth == 0 ? resource->scaledPx(kFullWidth) : m_dateWidth + m_timeWidth + resource->scaledPx(kDateTimePadding);
}

int CCurrentTimeWidget::getMinWidth()
{
    const CUiResource* resource = CUiResource::instance();
    return m_timeWidth == 0 ? resource->scaledPx(kLiteWidth) : m_timeWidth + resource->scaledPx(kTimePadding);
}

bool CCurrentTimeWidget::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type != Event_Activate)
        return CItemBaseWidget::handleEvent(type, id, arg, text, data);
    const QPoint corner = mapToGlobal(QPoint(0, 0));
    m_menu->setStyleSheet(CStyleSheetCenter::getStyle(CStyleSheetCenter::Style_Menu, nullptr));
    // exec() shows the menu at its size hint, not at the size it was given: place it by that size.
    m_menu->adjustSize();
    m_menu->exec(QPoint(corner.x(), corner.y() - m_menu->height()));
    return true;
}

void CCurrentTimeWidget::enterEvent(QEvent* event)
{
    CItemBaseWidget::enterEvent(event);
    m_mouseState = Hover;
    update();
}

void CCurrentTimeWidget::leaveEvent(QEvent* event)
{
    if (event->type() != QEvent::Leave)
        return;
    CItemBaseWidget::leaveEvent(event);
    m_mouseState = Normal;
    update();
}

void CCurrentTimeWidget::mousePressEvent(QMouseEvent* event)
{
    m_mouseState = Pressed;
    update();
    CItemBaseWidget::mousePressEvent(event);
}

void CCurrentTimeWidget::mouseReleaseEvent(QMouseEvent* event)
{
    CItemBaseWidget::mouseReleaseEvent(event);
    m_mouseState = m_mouseState == Pressed ? Hover : Normal;
    if (!m_menu)
        return;
    // The menu's lower right corner meets the item's upper right corner.
    const QPoint corner = mapToGlobal(QPoint(width(), 0));
    m_menu->setStyleSheet(CStyleSheetCenter::getStyle(CStyleSheetCenter::Style_Menu, nullptr));
    m_menu->adjustSize();
    m_menu->exec(QPoint(corner.x() - m_menu->width(), corner.y() - m_menu->height()));
    update();
}

void CCurrentTimeWidget::mouseMoveEvent(QMouseEvent* event)
{
    CItemBaseWidget::mouseMoveEvent(event);
}

void CCurrentTimeWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const CUiResource* resource = CUiResource::instance();
    const int inset = resource->scaledPx(kBackgroundInset);
    const QRect backgroundArea(inset, inset, width() - 2 * inset, height() - resource->scaledPx(kBackgroundHeightCut));
    if (m_background)
        m_background->draw(&painter, backgroundArea, m_mouseState);
    if (!m_lite) {
        const int textLeft = resource->scaledPx(kTextLeft);
        m_dateText.draw(&painter, QRect(textLeft, 0, width() - textLeft, height()), kTextAlignment);
    }
    m_timeText.draw(&painter, timeArea(), kTextAlignment);
}

QRect CCurrentTimeWidget::timeArea() const
{
    const CUiResource* resource = CUiResource::instance();
    int x = resource->scaledPx(kTextLeft);
    if (!m_lite)
        x += m_dateWidth + resource->scaledPx(kDateGap);
    return QRect(x, 0, width() - x, height());
}
