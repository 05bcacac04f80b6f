#pragma once

#include <terminalhost/basewidget.h>

#include <QPointer>

class QPropertyAnimation;
class QTimer;

/// Where a message tip sits against the widget it points at.
enum EMessageTipPosition {
    MessageTip_AboveLeft = 32, ///< just above the widget, left edges aligned; below it when the screen has no room above
};

/**
 * @brief A small floating note beside a widget, such as "启动中..." next to a launcher icon.
 *
 * A tip with a life shows for that many seconds, then fades out and closes; a life of -1 keeps it
 * until it is hidden. A tip closes when clicked and hides when the widget it points at hides. By
 * default a closed tip is deleted; a tip kept for reuse clears Qt::WA_DeleteOnClose.
 */
class TERMINALHOST_EXPORT CMessageTip : public CBaseWidget
{
    Q_OBJECT
public:
    /// lifeSeconds: shown time before the fade, -1 for no limit; fadeMs: length of the fade.
    CMessageTip(QWidget* owner, int lifeSeconds, int fadeMs);

    /// Shows a transient tip with text beside owner, in place of the previous transient tip.
    static CMessageTip* showTip(QWidget* owner, int position, const QString& text, int lifeSeconds, int fadeMs);

    void setContent(const QString& text);
    QString content() const { return m_content; }
    /// The widget the tip points at.
    void setWidget(QWidget* widget);
    QWidget* widget() const { return m_widget; }
    /// Global top-left corner at which this tip, at its current size, sits at position against
    /// widget, kept on the widget's screen.
    QPoint getPoint(QWidget* widget, int position) const;

    void themeChanged() override;

public slots:
    /// The shown time is over: fade out, then close.
    void slotLifeEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fitToContent();

    QString m_content;
    QPointer<QWidget> m_widget;
    int m_lifeSeconds = -1;
    int m_fadeMs = 0;
    QTimer* m_lifeTimer = nullptr;
    QPropertyAnimation* m_fade = nullptr;
};
