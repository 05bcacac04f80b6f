#pragma once

#include <terminalhost/basewidget.h>

/**
 * @brief A one-line text in a theme colour and font that sizes itself to the text.
 *
 * A left click delivers event type 10 with the widget's id and its text to its ancestors.
 */
class TERMINALHOST_EXPORT CSimpleTextWidget : public CBaseWidget
{
    Q_OBJECT
public:
    /// How the text shows, beyond its colour and font (setFlag()).
    enum ETextFlag {
        TextFlag_HoverBackground = 0x001, ///< a row of a list: highlighted under the pointer, the text set in from its edges
        TextFlag_ElideRight = 0x100,      ///< a text wider than the widget ends in "…" rather than being cut
    };

    CSimpleTextWidget(bool autoFill, int id, const QString& text, QWidget* parent);

    /// Sets the text and resizes to it, never wider than maxWidth pixels.
    void setText(const QString& text, int maxWidth);
    QString getText() const { return m_text; }
    int id() const { return m_id; }
    void setColorKey(const QString& key);
    void setFontKey(const QString& key);
    QString colorKey() const { return m_colorKey; }
    QString fontKey() const { return m_fontKey; }
    /// ETextFlag bits.
    void setFlag(int flags);
    int flag() const { return m_flags; }

    void themeChanged() override;
    /// The text's size in its font, never wider than the maximum width.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseClickEvent(QMouseEvent* event) override;

private:
    void fitToText();

    int m_id = 0;
    QString m_text;
    int m_maxWidth = 100000;
    QString m_colorKey = QStringLiteral("clr_status_bar_text");
    QString m_fontKey = QStringLiteral("fnt_default_normal");
    int m_flags = 0;
    bool m_hovered = false;
};
