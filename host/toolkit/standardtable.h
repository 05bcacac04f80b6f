#pragma once

#include <terminalhost/basetable.h>

#include <vector>

/**
 * @brief The terminal's data table. Rows are addressed by a row id that stays with the row while
 * rows above it come and go; display indexes map to ids through rowID(). With Flag_ColumnResize
 * the columns start at their contents' width until the user sizes them, and the last fills the
 * rest; without it they share the width.
 *
 * A click on a cell whose item was set clickable delivers event type 233 with the cell's key text
 * ("row id,column") as text.
 */
class TERMINALHOST_EXPORT CStandardTable : public CBaseTable
{
    Q_OBJECT
public:
    /// style selects the look (0 is the plain list); flags are CTableFlags bits.
    CStandardTable(int style, QWidget* parent, int flags);

    /**
     * Shows an integer in the cell, right-aligned, in plain decimal; kNoIntValue shows "-". The
     * colour and font are theme keys; an empty key keeps the table's own.
     */
    void setItemInt(int rowId, int column, int value, const QString& colorKey, const QString& fontKey, bool update);
    /// The integer of the cell; kNoIntValue for a cell without one.
    int itemInt(int rowId, int column) const;
    QString itemFontKey(int rowId, int column) const;
    /// Places widget in the cell; the table owns it. alignment is a Qt::Alignment value.
    void setItemWidget(int rowId, int column, QWidget* widget, int alignment, bool update);
    QWidget* itemWidget(int rowId, int column) const;
    void setItemClickable(int rowId, int column, bool clickable);

protected:
    void applyFlags() override;
    void contentsChanged() override;

private:
    static constexpr int kClickableRole = kFirstOwnRole;
    static constexpr int kIntRole = kFirstOwnRole + 1;

    /// Fits the columns the user has not sized to their contents, once the current changes are done.
    void fitColumns();

    std::vector<bool> m_userSized; ///< by column: the user dragged its width
    bool m_fitPending = false;
    bool m_fitting = false;
};
