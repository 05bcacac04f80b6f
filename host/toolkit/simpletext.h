#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

class QPainter;
class QRect;

/**
 * @brief A piece of text with its own colour and font that measures and draws itself; widgets use it
 * to paint several texts without a child widget for each.
 */
class TERMINALHOST_EXPORT CSimpleText
{
public:
    void setText(const QString& text) { m_text = text; }
    QString text() const { return m_text; }
    void setColor(const QColor& color) { m_color = color; }
    QColor color() const { return m_color; }
    void setFont(const QFont& font) { m_font = font; }
    QFont font() const { return m_font; }

    /// Pixel size of the text in its font; an empty text is 0 wide.
    QSize getSize() const;
    void draw(QPainter* painter, const QRect& rect, int alignment) const;

    /// Pixel size of text in the theme font named by fontKey.
    static QSize getSize(const QString& text, const QString& fontKey);
    static QSize measure(const QString& text, const QFont& font);

private:
    QString m_text;
    QColor m_color;
    QFont m_font;
};
