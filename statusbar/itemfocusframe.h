#pragma once

#include <QPointer>
#include <QWidget>

/**
 * @brief The outline that marks the item of a row holding the keyboard focus, whatever kind of item
 * it is: one pixel around the item, so that it covers none of the item's texts, which may run to
 * its edge.
 *
 * The row owns one. It follows the application's focus onto the row's widget that holds it (or
 * holds the widget inside it that does), moves and resizes with that item, and hides when the
 * focus leaves the row. It lets the mouse through to the item.
 */
class CItemFocusFrame : public QWidget
{
    Q_OBJECT
public:
    explicit CItemFocusFrame(QWidget* row);

    /// The item the frame marks; null while the focus is outside the row.
    QWidget* item() const { return m_item; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow(QWidget* focused);
    void placeAroundItem();

    QWidget* m_row = nullptr;
    QPointer<QWidget> m_item;
};
