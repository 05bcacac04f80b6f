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
    CSimpleTextWidget(bool autoFill, int id, const QString& text, QWidget* parent);

    /// Sets the text and resizes to it, never wider than maxWidth pixels.
    void setText(const QString& text, int maxWidth);
    QString getText() const { return m_text; }
    int id() const { return m_id; }
    void setColorKey(const QString& key);
    void setFontKey(const QString& key);
    QString colorKey() const { return m_colorKey; }
    QString fontKey() const { return m_fontKey; }

    void themeChanged() override;
    /// The text's size in its font, never wider than the maximum width.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseClickEvent(QMouseEvent* event) override;

private:
    void fitToText();

    int m_id = 0;
    QString m_text;
    int m_maxWidth = 100000;
    QString m_colorKey = QStringLiteral("clr_status_bar_text");
    QString m_fontKey = QStringLiteral("fnt_default_normal");
};
