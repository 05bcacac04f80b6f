#pragma once

#include <terminalhost/terminalhost_export.h>

class QWidget;

/// Centres widget on the free area (without panels) of the screen that reference is on, or of the
/// primary screen when there is no reference. A widget never sized yet takes its preferred size first.
TERMINALHOST_EXPORT void widgetCenterScreen(QWidget* reference, QWidget* widget);
