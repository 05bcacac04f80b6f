#include "statusbartooltip.h"

#include <terminalhost/uiresource.h>

#include <QFontMetrics>
#include <QPointer>
#include <QToolTip>

namespace {
constexpr int kToolTipLift = 28; // px between the status bar's top and a one-line tooltip's
const char kToolTipFont[] = "fnt_default_normal_fix";

// Cleared by Qt when that bar goes, so that a later bar can take over.
QPointer<QWidget>& anchorBar()
{
    static QPointer<QWidget> bar;
    return bar;
}
}

void StatusBarToolTip::anchorOn(QWidget* bar)
{
    if (!anchorBar())
        anchorBar() = bar;
}

void StatusBarToolTip::show(QWidget* widget, const QString& text)
{
    if (!widget)
        return;
    const QFont font = CUiResource::instance()->getFont(QLatin1String(kToolTipFont));
    const int lineHeight = QFontMetrics(font).height();
    // A text ending in a line break counts its empty last line too.
    const int lines = text.split(QLatin1Char('\n'), Qt::KeepEmptyParts).size();
    QToolTip::setFont(font);
    const int offset = -kToolTipLift - lines * lineHeight;
    QWidget* anchorWidget = anchorBar() ? anchorBar().data() : widget;
    const QPoint anchor = anchorWidget->mapToGlobal(QPoint(0, offset));
    QToolTip::showText(QPoint(widget->mapToGlobal(QPoint(0, 0)).x(), anchor.y()), text, widget, widget->rect());
}
