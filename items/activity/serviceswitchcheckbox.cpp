#include "serviceswitchcheckbox.h"

#include <terminalhost/simpletextwidget.h>
#include <terminalhost/uiresource.h>

namespace {
const char kObjectName[] = "service_switch_check_box";
constexpr int kRowHeight = 20; // px at 100 %, as the text's place
constexpr int kTextX = 10;
constexpr int kTextY = 4;
}

CServiceSwitchCheckBox::CServiceSwitchCheckBox(const QString& text, int id, QWidget* parent)
    : CBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_id(id)
{
    const CUiResource* resource = CUiResource::instance();
    setFixedHeight(resource->scaledPx(kRowHeight));
    setCursor(Qt::PointingHandCursor);
    m_text = new CSimpleTextWidget(false, 0, text, this);
    // A press anywhere on the row chooses it; the text must not take the press (nor send its own
    // click event to the main window after the menu has gone).
    m_text->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_text->move(resource->scaledPx(kTextX), resource->scaledPx(kTextY));
}

QString CServiceSwitchCheckBox::text() const
{
    return m_text->getText();
}

void CServiceSwitchCheckBox::mousePressEvent(QMouseEvent* event)
{
    CBaseWidget::mousePressEvent(event);
    emit sigServiceClick(m_id);
}
