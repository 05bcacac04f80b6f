#include "clientfeedbackwidget.h"

#include <statusbar/itemframe.h>

#include <terminalhost/advicefeedbackdialog.h>
#include <terminalhost/imagewidget.h>
#include <terminalhost/luamodulectrl.h>
#include <terminalhost/simpletextwidget.h>
#include <terminalhost/uiresource.h>
#include <terminalhost/widgetcenterscreen.h>

#include <QMouseEvent>
#include <QPainter>

namespace {
const char kObjectName[] = "client_feedback_widget";
const char kIcon[] = "tc_img_velo_feedbacker";
const char kLabel[] = "客服";
const char kLabelFont[] = "fnt_default_normal_fix";
const char kLabelColor[] = "clr_status_bar_text";
// Paddings and offsets are px at 100 %, taken at the UI scale.
constexpr int kFullPadding = 21; // px around icon and label
constexpr int kLitePadding = 15; // px around the icon alone
constexpr int kIconX = 10;
constexpr int kIconDrop = 2;     // px the icon sits below the vertical centre
constexpr int kLabelGap = 5;     // px between the icon and the label
}

CClientFeedBackWidget::CClientFeedBackWidget(QWidget* parent, QWidget* dialogParent)
    : CItemBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_icon(new CImageWidget(0, QLatin1String(kIcon), this))
    , m_label(new CSimpleTextWidget(false, 0, QString::fromUtf8(kLabel), this))
    , m_dialogParent(dialogParent)
    , m_frame(std::make_unique<CItemFrame>(this))
{
    m_label->setFontKey(QLatin1String(kLabelFont));
    m_label->setColorKey(QLatin1String(kLabelColor));
}

CClientFeedBackWidget::~CClientFeedBackWidget()
{
    // A dialog without a parent window is a window of its own and would outlive the item.
    delete m_dialog.data();
}

CAdviceFeedBackDialog* CClientFeedBackWidget::dialog() const
{
    return m_dialog.data();
}

const CItemFrame& CClientFeedBackWidget::frame() const
{
    return *m_frame;
}

void CClientFeedBackWidget::screenCapture()
{
    tryCreateDialog();
    widgetCenterScreen(m_dialogParent, m_dialog);
    m_dialog->screenCapture();
}

void CClientFeedBackWidget::tryCreateDialog()
{
    if (m_dialog)
        return;
    m_dialog = new CAdviceFeedBackDialog(m_dialogParent, true);
    m_dialog->set2Server(true);
}

void CClientFeedBackWidget::switchToLite(bool lite)
{
    m_label->setVisible(!lite);
}

int CClientFeedBackWidget::getMaxWidth()
{
    return m_icon->width() + m_label->width() + CUiResource::instance()->scaledPx(kFullPadding);
}

int CClientFeedBackWidget::getMinWidth()
{
    return m_icon->width() + CUiResource::instance()->scaledPx(kLitePadding);
}

void CClientFeedBackWidget::enterEvent(QEvent* event)
{
    CItemBaseWidget::enterEvent(event);
    m_frame->setLook(CItemFrame::Hover);
}

void CClientFeedBackWidget::leaveEvent(QEvent* event)
{
    CItemBaseWidget::leaveEvent(event);
    m_frame->setLook(CItemFrame::Rest);
}

void CClientFeedBackWidget::mousePressEvent(QMouseEvent* event)
{
    CItemBaseWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    tryCreateDialog();
    if (LuaModuleCtrl::checkModule({QStringLiteral("mdl_auth"), QStringLiteral("mdl_auth_goto_advice_feed_back_url")})) {
        // Users with the web feedback go to the installation's page; without an address nothing opens.
        CAdviceFeedBackDialog::openFeedbackAddress();
    } else {
        m_dialog->show();
        m_dialog->raise();
    }
    m_frame->setLook(CItemFrame::Pressed);
}

void CClientFeedBackWidget::paintEvent(QPaintEvent* event)
{
    CItemBaseWidget::paintEvent(event);
    QPainter painter(this);
    m_frame->paint(painter);
}

void CClientFeedBackWidget::resizeEvent(QResizeEvent* event)
{
    CItemBaseWidget::resizeEvent(event);
    const CUiResource* resource = CUiResource::instance();
    const int iconX = resource->scaledPx(kIconX);
    m_icon->move(iconX, (height() - m_icon->height()) / 2 + resource->scaledPx(kIconDrop));
    m_label->move(m_icon->width() + iconX + resource->scaledPx(kLabelGap), (height() - m_label->height()) / 2);
}
