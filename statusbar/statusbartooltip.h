#pragma once

#include <QString>

class QWidget;

/**
 * @brief The status bar's ordinary tooltips: shown just above the status bar, at the left edge of
 * the widget they describe, one line height higher for every line of the text.
 *
 * The first status bar built anchors them all; while no bar lives, a tooltip anchors on its own
 * widget. Items show their tooltips through here, so they never need the bar's header.
 */
namespace StatusBarToolTip {
/// Makes bar the anchor of every status bar tooltip, unless an earlier bar still is.
void anchorOn(QWidget* bar);
/// Shows text as a tooltip for widget, above the anchoring status bar.
void show(QWidget* widget, const QString& text);
}
