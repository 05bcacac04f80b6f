#pragma once

#include <terminalhost/basewidget.h>

#include <QVector>

/**
 * @brief A frameless multi-line popup whose lines each have their own colour; the status bar shows
 * it above the trade item with one line per account.
 */
class ToolTipWidget : public CBaseWidget
{
    Q_OBJECT
public:
    explicit ToolTipWidget(QWidget* parent = nullptr);

    void setTexts(const QVector<QString>& texts) { m_texts = texts; }
    void setColorKeys(const QVector<QString>& colorKeys) { m_colorKeys = colorKeys; }
    const QVector<QString>& texts() const { return m_texts; }
    const QVector<QString>& colorKeys() const { return m_colorKeys; }

    /// Sizes the popup to its lines: widest line + 10 wide, lines plus spacing + 10 high.
    void relayout();
    int totalHeight() const { return m_totalHeight; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QVector<QString> m_texts;
    QVector<QString> m_colorKeys;
    QString m_fontKey = QStringLiteral("fnt_default_normal");
    QString m_backgroundKey = QStringLiteral("ic_clr_tooltipcolor_bg");
    int m_totalHeight = 0;
    int m_lineSpacing = 5;
    int m_leftMargin = 5;
    int m_topMargin = 5;
};
