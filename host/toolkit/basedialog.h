#pragma once

#include <terminalhost/eventdeliverer.h>
#include <terminalhost/terminalhost_export.h>
#include <terminalhost/uiresourcechangehandler.h>

#include <QDialog>

/**
 * @brief Base of every toolkit dialog: a QDialog on the event bus that follows theme changes.
 *
 * Events its widgets deliver reach the dialog's handleEvent() on their way up; what the dialog does
 * not consume goes on to the dialog's parent widget and its ancestors, then to the main window.
 * Escape closes it (reject()) whichever of its widgets has the focus.
 */
class TERMINALHOST_EXPORT CBaseDialog : public QDialog, public CEventDeliverer, public CUiResourceChangeHandler
{
    Q_OBJECT
public:
    explicit CBaseDialog(QWidget* parent);

    /// Repaints; dialogs that style themselves from the theme re-read it first.
    void themeChanged() override;
};
