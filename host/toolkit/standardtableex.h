#pragma once

#include <terminalhost/basetable.h>

#include <map>
#include <vector>

class CBaseTableColumnDelegate;

/**
 * @brief The terminal's table with column delegates. Rows are addressed by a row id that stays
 * with the row while rows come and go around it; a cell's key, as its column delegate knows it, is
 * the row id written in decimal. A column may be drawn by a delegate (setColumnDelegate), which
 * also answers clicks on its cells; the other columns show plain texts in theme colours.
 */
class TERMINALHOST_EXPORT CStandardTableEx : public CBaseTable
{
    Q_OBJECT
public:
    /// This table's flags beside the common ones (CTableFlags).
    enum ETableExFlag {
        Flag_LastColumnStretch = 0x004000, ///< the last visible column takes the width left over
        Flag_ClickableCursor = 0x200000,   ///< a pointing hand over clickable cells
        Flag_Editable = 0x20000000,        ///< a double click edits a plain text cell
    };
    /// The flags a new table starts with.
    static constexpr int kDefaultFlags = Flag_HeaderVisible | Flag_ColumnMove | Flag_ColumnResize | Flag_GridLines;

    /// style selects the look; the plain list (0) is the only one so far.
    CStandardTableEx(int style, QWidget* parent);
    ~CStandardTableEx() override;

    /// Whether the column is offered in the header's menu of columns to show or hide.
    void setColListVisible(int column, bool visible);
    bool isColListVisible(int column) const;
    void setColumnWidth(int column, int width);
    int columnWidth(int column) const;
    /// Installs the delegate for the column; the table owns it and drops the previous one.
    void setColumnDelegate(int column, CBaseTableColumnDelegate* delegate);
    CBaseTableColumnDelegate* columnDelegate(int column) const;

    /// Drops every row; row ids start again from 0 and the delegates forget their cells.
    void clear() override;
    /// Adds an empty row at the top and returns its id.
    int prependRow();

    /// The columns the header's menu offers, in column order.
    std::vector<int> columnListEntries() const;

protected:
    void applyFlags() override;
    /// Drops the delegates of columns that are gone.
    void columnCountChanged() override;

private:
    void showColumnMenu(const QPoint& pos);
    void cellEntered(int index, int column);

    std::map<int, CBaseTableColumnDelegate*> m_delegates; ///< owned
    std::vector<bool> m_colListVisible;
};
