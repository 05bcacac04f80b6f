#include "stylesheetcenter.h"

#include <terminalhost/uiresource.h>

QString CStyleSheetCenter::getStyle(int styleId, QWidget*)
{
    const CUiResource* resource = CUiResource::instance();
    auto color = [resource](const char* key) { return resource->getColor(QLatin1String(key)).name(QColor::HexArgb); };
    switch (styleId) {
    case Style_Menu:
        return QStringLiteral("QMenu { background: %1; color: %2; border: 1px solid %3; font-family: \"%4\"; font-size: %5px; }"
                              "QMenu::item { padding: 4px 12px 4px 22px; }"
                              "QMenu::item:selected { background: %6; }"
                              "QMenu::indicator { left: 4px; width: 12px; height: 12px; }")
            .arg(color("clr_menu_background"), color("clr_menu_text"), color("clr_border_default"),
                 resource->getFont(QStringLiteral("fnt_default_normal")).family())
            .arg(resource->getFont(QStringLiteral("fnt_default_normal")).pixelSize())
            .arg(color("clr_menu_selected_background"));
    default:
        return {};
    }
}
