#pragma once

#include <terminalhost/basewidget.h>

/**
 * @brief What every toolkit button shares: an id and a text, the pointer over it and the left
 * button held on it, and a click (a left press and a release inside) that delivers event type 5
 * (Event_Activate) with the id and the text to its ancestors.
 */
class TERMINALHOST_EXPORT CBaseButton : public CBaseWidget
{
    Q_OBJECT
public:
    int id() const { return m_id; }
    void setText(const QString& text);
    QString text() const { return m_text; }
    /// The colour key the background is filled with now; empty when it is not filled.
    virtual QString backgroundKey() const = 0;

protected:
    CBaseButton(const QString& objectName, int id, QWidget* parent);

    bool isHovered() const { return m_hovered; }
    bool isPressed() const { return m_pressed; }
    /// After a click; returns the arg the event carries (0 here).
    virtual int clicked() { return 0; }
    /// After the text changed, before the repaint: a button sized by its text re-measures here.
    virtual void textChanged() {}

    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int m_id = 0;
    QString m_text;
    bool m_hovered = false;
    bool m_pressed = false;
};
