#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QMenu>

/// @brief The terminal's popup menu; its look comes from CStyleSheetCenter.
class TERMINALHOST_EXPORT CMenu : public QMenu
{
    Q_OBJECT
public:
    explicit CMenu(QWidget* parent = nullptr);
};
