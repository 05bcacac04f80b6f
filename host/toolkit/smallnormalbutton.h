#pragma once

#include <terminalhost/basewidget.h>

/**
 * @brief A small text button of the terminal's look. A click delivers event type 5 with the
 * button's id to its ancestors.
 */
class TERMINALHOST_EXPORT CSmallNormalButton : public CBaseWidget
{
    Q_OBJECT
public:
    /// checkable: the button keeps a pressed state; style 1 is the plain bordered button.
    CSmallNormalButton(int id, bool checkable, int style, QWidget* parent);

    void setText(const QString& text);
    QString text() const { return m_text; }
    int id() const { return m_id; }
    bool isChecked() const { return m_checked; }

    QSize sizeHint() const override;

protected:
    bool isHovered() const { return m_hovered; }
    bool isPressed() const { return m_pressed; }

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_id = 0;
    bool m_checkable = false;
    bool m_checked = false;
    int m_style = 1;
    bool m_hovered = false;
    bool m_pressed = false;
    QString m_text;
};
