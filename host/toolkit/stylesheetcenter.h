#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QString>

class QWidget;

/**
 * @brief Style sheets for the terminal's stock widgets, built from the current theme's colours.
 */
class TERMINALHOST_EXPORT CStyleSheetCenter
{
public:
    enum StyleId {
        Style_Menu = 15, ///< popup menus
    };

    /// The style sheet for a kind of widget; an unknown id answers an empty sheet.
    static QString getStyle(int styleId, QWidget* widget);
};
