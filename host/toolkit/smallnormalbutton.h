#pragma once

#include <terminalhost/basebutton.h>

/**
 * @brief A small text button of the terminal's look. A click delivers event type 5 with the
 * button's id to its ancestors.
 */
class TERMINALHOST_EXPORT CSmallNormalButton : public CBaseButton
{
    Q_OBJECT
public:
    /// checkable: the button keeps a pressed state; style 1 is the plain bordered button.
    CSmallNormalButton(int id, bool checkable, int style, QWidget* parent);

    bool isChecked() const { return m_checked; }
    QString backgroundKey() const override;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    /// A checkable button turns over and says how it stands in the event's arg.
    int clicked() override;
    void textChanged() override;

private:
    bool m_checkable = false;
    bool m_checked = false;
    int m_style = 1;
};
