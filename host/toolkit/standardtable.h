#pragma once

#include <terminalhost/basewidget.h>

#include <QStringList>

#include <map>
#include <vector>

class QTableWidget;
class QTableWidgetItem;

/**
 * @brief The terminal's data table. Rows are addressed by a row id that stays with the row while
 * rows above it come and go; display indexes map to ids through rowID().
 *
 * A click on a cell whose item was set clickable delivers event type 233 with the cell's key text
 * ("row id,column") as text.
 */
class TERMINALHOST_EXPORT CStandardTable : public CBaseWidget
{
    Q_OBJECT
public:
    /// Behaviour flags of the table.
    enum ETableFlag {
        Flag_HeaderVisible = 0x001,
        Flag_ColumnMove = 0x002,    ///< the user may drag columns around
        Flag_RowSelect = 0x004,     ///< a click selects the whole row
        Flag_MultiSelect = 0x008,
        Flag_GridLines = 0x010,
        Flag_ColumnResize = 0x020,  ///< the user sizes columns, which start at their contents' width and the last fills the rest; otherwise they share the width
        Flag_WordWrap = 0x040,
        Flag_HoverRow = 0x080,      ///< the row under the pointer is highlighted
        Flag_AlternateRows = 0x100,
        Flag_All = 0x1ff,
    };

    /// How setItemInt() writes its number.
    enum EIntFormat {
        IntFormat_Plain = 0,    ///< plain decimal
        IntFormat_Grouping = 1, ///< with thousands separators
    };

    /// style selects the look (0 is the plain list); flags are ETableFlag bits.
    CStandardTable(int style, QWidget* parent, int flags);

    int flag() const { return m_flags; }
    void setFlag(int flags);
    void setColumnCount(int count);
    int columnCount() const;
    void setHeaderText(int column, const QString& text);
    QString headerText(int column) const;
    void setColumnVisible(int column, bool visible);
    bool isColumnVisible(int column) const;

    /// Drops every row and the widgets in its cells; row ids start again from 0.
    void clear();
    /// Appends an empty row and returns its id.
    int appendRow();
    int rowCount() const;
    /// The id of the row shown at a display index; -1 past the end.
    int rowID(int index) const;
    /// Removes the row with that id; an unknown id does nothing.
    void removeRow(int rowId);
    void setItemText(int rowId, int column, const QString& text, bool update);
    QString itemText(int rowId, int column) const;
    /**
     * Shows an integer in the cell, right-aligned, written by formatFlags (EIntFormat); kNoIntValue
     * shows "-". The colour and font are theme keys; an empty key keeps the table's own.
     */
    void setItemInt(int rowId, int column, int value, int formatFlags, const QString& colorKey, const QString& fontKey,
                    bool update);
    /// The integer of the cell; kNoIntValue for a cell without one.
    int itemInt(int rowId, int column) const;
    /// The text colour of the cell, a theme key; an empty key gives the table's own.
    void setItemTextColorKey(int rowId, int column, const QString& key, bool update);
    QString itemTextColorKey(int rowId, int column) const;
    QString itemFontKey(int rowId, int column) const;
    /// Places widget in the cell; the table owns it. alignment is a Qt::Alignment value.
    void setItemWidget(int rowId, int column, QWidget* widget, int alignment, bool update);
    QWidget* itemWidget(int rowId, int column) const;
    void setItemClickable(int rowId, int column, bool clickable);

    void themeChanged() override;

protected:
    /// The table's view takes the keyboard itself; the frame around it is no stop of its own.
    bool isTabStopInList() const override { return false; }

private:
    int indexOf(int rowId) const;
    /// The cell's item, made when it has none; null outside the table.
    QTableWidgetItem* cellItem(int rowId, int column);
    QVariant cellData(int rowId, int column, int role) const;
    void applyFlags();
    void applyTheme();
    void applyItemLook(QTableWidgetItem* item);
    /// Fits the columns the user has not sized to their contents, once the current changes are done.
    void scheduleFit();
    void fitColumns();

    QTableWidget* m_view = nullptr;
    int m_style = 0;
    int m_flags = 0;
    int m_nextRowId = 0;
    std::vector<int> m_rowIds; ///< display index -> row id
    std::vector<bool> m_userSized; ///< by column: the user dragged its width
    bool m_fitPending = false;
    bool m_fitting = false;
};
