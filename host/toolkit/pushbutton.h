#pragma once

#include <terminalhost/basewidget.h>

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
class TERMINALHOST_EXPORT CPushButton : public CBaseWidget
{
    Q_OBJECT
public:
    enum EState { State_Normal, State_Hover, State_Pressed, State_Disabled };

    CPushButton(const CButtonColor& colors, int id, QWidget* parent);

    void setText(const QString& text);
    QString text() const { return m_text; }
    void setFontKey(const QString& key);
    int id() const { return m_id; }
    const CButtonColor& colors() const { return m_colors; }
    EState state() const;
    /// The colour key the background is filled with now.
    QString backgroundKey() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CButtonColor m_colors;
    int m_id = 0;
    QString m_text;
    QString m_fontKey = QStringLiteral("fnt_default_normal_fix");
    bool m_hovered = false;
    bool m_pressed = false;
};
