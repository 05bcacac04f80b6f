#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QObject>
#include <QString>

class CEventDeliverer;
class QPainter;
class QRect;

/**
 * @brief Draws the cells of one column of a CStandardTableEx and answers clicks on them. The table
 * names each cell by its key, the row id written in decimal; the delegate keeps what it shows per
 * key. Installed with CStandardTableEx::setColumnDelegate, which takes ownership.
 */
class TERMINALHOST_EXPORT CBaseTableColumnDelegate : public QObject
{
    Q_OBJECT
public:
    /// id goes with the events the delegate sends; deliverer sends them (usually the table).
    CBaseTableColumnDelegate(int id, CEventDeliverer* deliverer);

    int id() const { return m_id; }

    /// Draws the cell named key into rect; hovered while the pointer is over it.
    virtual void paintCell(QPainter* painter, const QRect& rect, const QString& key, bool hovered) const = 0;
    /// The width the column needs to show every cell whole, in pixels.
    virtual int getAdjustedWidth() const = 0;
    virtual bool isClickable(const QString& key) const;
    /// A left click on the cell: a clickable cell delivers Event_TableCellClick with the delegate's
    /// id and the key as text.
    virtual void cellClicked(const QString& key);
    /// The table dropped every row: forget every cell.
    virtual void clearItems() = 0;

signals:
    /// Something shown changed; the table repaints.
    void sigChanged();

private:
    int m_id = 0;
    CEventDeliverer* m_deliverer = nullptr;
};
