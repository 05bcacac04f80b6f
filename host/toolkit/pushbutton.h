#pragma once

#include <terminalhost/basebutton.h>

#include <QString>

/// @brief The colour keys of a push button: its background at rest, under the pointer, pressed and
/// disabled, and its text.
struct TERMINALHOST_EXPORT CButtonColor {
    CButtonColor(QString background, QString hover, QString pressed, QString disabled);

    QString background;
    QString hover;
    QString pressed;
    QString disabled;
    QString text = QStringLiteral("clr_btn_text_color");
};

/**
 * @brief A flat text button filled with the colour of its state. A left click delivers event type 5
 * (Event_Activate) with the button's id and text to its ancestors.
 */
class TERMINALHOST_EXPORT CPushButton : public CBaseButton
{
    Q_OBJECT
public:
    enum EState { State_Normal, State_Hover, State_Pressed, State_Disabled };

    CPushButton(const CButtonColor& colors, int id, QWidget* parent);

    void setFontKey(const QString& key);
    const CButtonColor& colors() const { return m_colors; }
    EState state() const;
    QString backgroundKey() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CButtonColor m_colors;
    QString m_fontKey = QStringLiteral("fnt_default_normal_fix");
};
