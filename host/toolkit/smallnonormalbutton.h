#pragma once

#include <terminalhost/pushbutton.h>
#include <terminalhost/smallnormalbutton.h>

#include <optional>

/**
 * @brief A small flat text button for tool rows: only its text shows at rest; under the pointer
 * and while pressed it fills with its state's colour. A click delivers event type 5 with the
 * button's id, as CSmallNormalButton does.
 */
class TERMINALHOST_EXPORT CSmallNoNormalButton : public CSmallNormalButton
{
    Q_OBJECT
public:
    /// colors: the colour keys of its states (the rest colour is not used); null takes the theme's
    /// button colours.
    CSmallNoNormalButton(int id, bool checkable, QWidget* parent, const CButtonColor* colors);

    /// Empty at rest.
    QString backgroundKey() const override;

    /// As wide as its text and as high as a tool row.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<CButtonColor> m_colors;
};
