#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QString>

#include <memory>
#include <string>

/// How the high-performance table shows, sorts and totals a column (IBaseHpfTableModel::getColumnKind).
enum EHpfColumnKind {
    HpfColumn_Text = 0,   ///< text, sorted as text
    HpfColumn_Double = 1, ///< a number: right-aligned, sorted and totalled by getDouble()
    HpfColumn_Int = 2,    ///< a number: right-aligned, sorted and totalled by getInt()
    HpfColumn_Key = 10,   ///< the row's name: text sorted by its bytes (getString())
};

/**
 * @brief One row of the high-performance table. The table asks a row for what it shows only while
 * the row is on screen, so a row keeps its values and makes texts when asked.
 */
class TERMINALHOST_EXPORT IBaseHpfTableData
{
public:
    virtual ~IBaseHpfTableData();

    /// What the cell shows.
    virtual QString getText(int column) const = 0;
    /// The cell's bytes, for key columns.
    virtual std::string getString(int column) const = 0;
    /// The cell's number in integer columns; kNoIntValue when it has none.
    virtual int getInt(int column) const = 0;
    virtual double getDouble(int column) const = 0;
    /// The cell's text colour, a theme key.
    virtual QString getTextColorKey(int column) const = 0;
    /// Names the row among the model's rows.
    virtual std::string getKey() const = 0;
};
using IBaseHpfTableDataPtr = std::shared_ptr<IBaseHpfTableData>;
