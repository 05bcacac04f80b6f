#pragma once

#include <terminalhost/eventdeliverer.h>
#include <terminalhost/terminalhost_export.h>
#include <terminalhost/uiresourcechangehandler.h>

#include <QWidget>

/**
 * @brief Base of every toolkit widget: a QWidget on the event bus that follows theme changes.
 *
 * The flag asks Qt to fill the background with the palette before painting; the status bar's
 * widgets paint everything themselves and pass false.
 */
class TERMINALHOST_EXPORT CBaseWidget : public QWidget, public CEventDeliverer, public CUiResourceChangeHandler
{
    Q_OBJECT
public:
    CBaseWidget(const QString& objectName, bool autoFill, QWidget* parent);

    /// Repaints; widgets whose size depends on fonts re-measure first.
    void themeChanged() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
