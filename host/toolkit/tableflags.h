#pragma once

#include <terminalhost/terminalhost_export.h>

class QString;
class QTableView;

/**
 * @brief The behaviour flags every host table reads the same way (CStandardTable,
 * CStandardTableEx, CStandardHpfTable), and the look they share. A table names its own flags,
 * above these, beside it.
 */
struct TERMINALHOST_EXPORT CTableFlags {
    enum ETableFlag {
        Flag_HeaderVisible = 0x001,
        Flag_ColumnMove = 0x002,   ///< the user may drag columns around
        Flag_RowSelect = 0x004,    ///< a click selects the whole row
        Flag_MultiSelect = 0x008,
        Flag_GridLines = 0x010,
        Flag_ColumnResize = 0x020, ///< the user may size columns; otherwise they keep the width they are given
        Flag_WordWrap = 0x040,
        Flag_HoverRow = 0x080,     ///< the row under the pointer is highlighted
        Flag_AlternateRows = 0x100,
        Flag_All = 0x1ff,
    };

    /// Sets the view up as the flags say; the look follows with tableStyleSheet().
    static void setUpView(QTableView* view, int flags);
    /// The view's style sheet in the current theme: colours, font, and the hover highlight with Flag_HoverRow.
    static QString tableStyleSheet(int flags);
};
