#pragma once

#include <terminalhost/basewidget.h>

#include <QPointer>

/**
 * @brief A borderless floating window of the terminal's look, such as a small menu above the
 * status bar. It closes when the user clicks elsewhere.
 *
 * Its direct child widgets are its rows: the one under the pointer is highlighted, as a menu's
 * entry is.
 */
class TERMINALHOST_EXPORT CFloatWidget : public CBaseWidget
{
    Q_OBJECT
public:
    explicit CFloatWidget(QWidget* parent);

    /// The row under the pointer; null when the pointer is over none.
    QWidget* hoveredRow() const { return m_hoveredRow; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setHoveredRow(QWidget* row);

    QPointer<QWidget> m_hoveredRow;
};
