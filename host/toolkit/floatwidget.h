#pragma once

#include <terminalhost/basewidget.h>

/**
 * @brief A borderless floating window of the terminal's look, such as a small menu above the
 * status bar. It closes when the user clicks elsewhere.
 */
class TERMINALHOST_EXPORT CFloatWidget : public CBaseWidget
{
    Q_OBJECT
public:
    explicit CFloatWidget(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
