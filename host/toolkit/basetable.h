#pragma once

#include <terminalhost/basewidget.h>
#include <terminalhost/tableflags.h>

#include <deque>

class QTableWidget;
class QTableWidgetItem;

/**
 * @brief What the toolkit's item tables share (CStandardTable, CStandardTableEx): rows addressed
 * by a row id that stays with the row while rows come and go around it, plain text cells whose
 * colour and font are theme keys, and the common flags (CTableFlags).
 */
class TERMINALHOST_EXPORT CBaseTable : public CBaseWidget, public CTableFlags
{
    Q_OBJECT
public:
    int flag() const { return m_flags; }
    void setFlag(int flags);
    void setColumnCount(int count);
    int columnCount() const;
    void setHeaderText(int column, const QString& text);
    QString headerText(int column) const;
    void setColumnVisible(int column, bool visible);
    bool isColumnVisible(int column) const;

    /// Drops every row and the widgets in its cells; row ids start again from 0.
    virtual void clear();
    /// Adds an empty row at the bottom and returns its id.
    int appendRow();
    int rowCount() const;
    /// The id of the row shown at a display index; -1 past the end.
    int rowID(int index) const;
    /// Removes the row with that id; an unknown id does nothing.
    void removeRow(int rowId);
    void setItemText(int rowId, int column, const QString& text, bool update);
    QString itemText(int rowId, int column) const;
    /// The text colour of the cell, a theme key; an empty key gives the table's own.
    void setItemTextColorKey(int rowId, int column, const QString& key, bool update);
    QString itemTextColorKey(int rowId, int column) const;

    void themeChanged() override;

    /// The inner view, for tests that click cells.
    QTableWidget* view() const { return m_view; }

protected:
    static constexpr int kColorKeyRole = Qt::UserRole + 1;
    static constexpr int kFontKeyRole = Qt::UserRole + 2;
    static constexpr int kFirstOwnRole = Qt::UserRole + 3; ///< where a table's own cell data starts

    CBaseTable(const QString& objectName, int flags, QWidget* parent);

    /// Sets the view up for the flags; a table with flags of its own adds them after the base's.
    /// A table's constructor calls it once the table is built.
    virtual void applyFlags();
    /// After the number of columns changed.
    virtual void columnCountChanged() {}
    /// After the columns or a cell's contents changed, and after a theme change.
    virtual void contentsChanged() {}
    /// The table's view takes the keyboard itself; the frame around it is no stop of its own.
    bool isTabStopInList() const override { return false; }

    int indexOf(int rowId) const;
    /// Adds an empty row at a display index (0 or the end) and returns its id.
    int insertRowAt(int index);
    /// The cell's item, made when it has none; null outside the table.
    QTableWidgetItem* cellItem(int rowId, int column);
    QVariant cellData(int rowId, int column, int role) const;
    /// Colours and fonts the item by its theme keys.
    void applyItemLook(QTableWidgetItem* item) const;
    /// Repaints the rows when asked to, as the cell setters' update argument says.
    void updateIf(bool update);

private:
    void applyTheme();

    QTableWidget* m_view = nullptr;
    int m_flags = 0;
    int m_nextRowId = 0;
    std::deque<int> m_rowIds; ///< display index -> row id
};
