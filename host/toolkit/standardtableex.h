#pragma once

#include <terminalhost/basewidget.h>

#include <QString>

#include <deque>
#include <map>
#include <vector>

class CBaseTableColumnDelegate;
class QTableWidget;

/**
 * @brief The terminal's table with column delegates. Rows are addressed by a row id that stays
 * with the row while rows come and go around it; a cell's key, as its column delegate knows it, is
 * the row id written in decimal. A column may be drawn by a delegate (setColumnDelegate), which
 * also answers clicks on its cells; the other columns show plain texts in theme colours.
 */
class TERMINALHOST_EXPORT CStandardTableEx : public CBaseWidget
{
    Q_OBJECT
public:
    /// Behaviour flags of the table.
    enum ETableExFlag {
        Flag_HeaderVisible = 0x000001,
        Flag_ColumnMove = 0x000002,        ///< the user may drag columns around
        Flag_RowSelect = 0x000004,         ///< a click selects the whole row
        Flag_MultiSelect = 0x000008,
        Flag_GridLines = 0x000010,
        Flag_ColumnResize = 0x000020,      ///< the user sizes columns; otherwise only setColumnWidth does
        Flag_WordWrap = 0x000040,
        Flag_HoverRow = 0x000080,          ///< the row under the pointer is highlighted
        Flag_AlternateRows = 0x000100,
        Flag_LastColumnStretch = 0x004000, ///< the last visible column takes the width left over
        Flag_ClickableCursor = 0x200000,   ///< a pointing hand over clickable cells
        Flag_Editable = 0x20000000,        ///< a double click edits a plain text cell
    };
    /// The flags a new table starts with.
    static constexpr int kDefaultFlags = Flag_HeaderVisible | Flag_ColumnMove | Flag_ColumnResize | Flag_GridLines;

    /// style selects the look; the plain list (0) is the only one so far.
    CStandardTableEx(int style, QWidget* parent);
    ~CStandardTableEx() override;

    int flag() const { return m_flags; }
    void setFlag(int flags);
    void setColumnCount(int count);
    int columnCount() const;
    void setHeaderText(int column, const QString& text);
    QString headerText(int column) const;
    void setColumnVisible(int column, bool visible);
    bool isColumnVisible(int column) const;
    /// Whether the column is offered in the header's menu of columns to show or hide.
    void setColListVisible(int column, bool visible);
    bool isColListVisible(int column) const;
    void setColumnWidth(int column, int width);
    int columnWidth(int column) const;
    /// Installs the delegate for the column; the table owns it and drops the previous one.
    void setColumnDelegate(int column, CBaseTableColumnDelegate* delegate);
    CBaseTableColumnDelegate* columnDelegate(int column) const;

    /// Drops every row; row ids start again from 0 and the delegates forget their cells.
    void clear();
    /// Adds an empty row at the top and returns its id.
    int prependRow();
    /// Adds an empty row at the bottom and returns its id.
    int appendRow();
    int rowCount() const;
    /// The id of the row shown at a display index; -1 past the end.
    int rowID(int index) const;
    void setItemText(int rowId, int column, const QString& text, bool update);
    QString itemText(int rowId, int column) const;
    void setItemTextColorKey(int rowId, int column, const QString& key, bool update);
    /// The cell's colour key; empty while it has the table's text colour.
    QString itemTextColorKey(int rowId, int column) const;

    /// The columns the header's menu offers, in column order.
    std::vector<int> columnListEntries() const;

    void themeChanged() override;

    /// The inner view, for tests that click cells.
    QTableWidget* view() const { return m_view; }

private:
    int indexOf(int rowId) const;
    int insertRowAt(int index);
    void applyFlags();
    void applyTheme();
    void applyTextColor(int index, int column);
    void showColumnMenu(const QPoint& pos);
    void cellEntered(int index, int column);

    QTableWidget* m_view = nullptr;
    int m_flags = kDefaultFlags;
    int m_nextRowId = 0;
    std::deque<int> m_rowIds; ///< display index -> row id; rows come at either end
    std::map<int, CBaseTableColumnDelegate*> m_delegates; ///< owned
    std::vector<bool> m_colListVisible;
};
