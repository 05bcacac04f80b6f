#include "menu.h"

CMenu::CMenu(QWidget* parent)
    : QMenu(parent)
{
    setObjectName(QStringLiteral("terminal_menu"));
}
