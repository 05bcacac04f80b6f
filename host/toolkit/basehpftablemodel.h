#pragma once

#include <terminalhost/basehpftabledata.h>

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

/**
 * @brief The rows of a high-performance table (CStandardHpfTable) and what the table asks about
 * its columns. A subclass answers the questions; the rows go in with addData() and show after the
 * table's updateTable().
 */
class TERMINALHOST_EXPORT IBaseHpfTableModel
{
public:
    /// uniqueKeys: a row whose key is already in the model replaces that row, in its place.
    explicit IBaseHpfTableModel(bool uniqueKeys);
    virtual ~IBaseHpfTableModel();
    IBaseHpfTableModel(const IBaseHpfTableModel&) = delete;
    IBaseHpfTableModel& operator=(const IBaseHpfTableModel&) = delete;

    virtual int getColumnCount() const = 0;
    virtual QString getHeaderText(int column) const = 0;
    /// EHpfColumnKind.
    virtual int getColumnKind(int column) const = 0;
    /// The text of the column's cell in the statistics row.
    virtual QString getStatText(int column) const = 0;
    /// The background of the row shown at that display position, a theme key.
    virtual QString getRowBackgroundKey(int row) const = 0;
    /// Whether a click on the cell delivers event type 233 with the row's key and the column.
    virtual bool isCellClickable(const IBaseHpfTableData& data, int column) const = 0;
    /// Row height in px; 0 takes the theme's ("tc_siz_table_row_height").
    virtual int getRowHeight() const = 0;

    void clear();
    void addData(const IBaseHpfTableDataPtr& data);
    /// The rows in the order they were added.
    const std::vector<IBaseHpfTableDataPtr>& getDatas() const { return m_datas; }

    /// The column's total over the rows the table shows; kNoIntValue while the table does not total
    /// it or the total does not fit.
    int getStatColumnInt(int column) const;
    /// The column's total over the rows shown; 0 while the table does not total it.
    double getStatColumnDouble(int column) const;
    /// The table stores its totals here each time it updates.
    void setStatColumnInt(int column, int total);
    void setStatColumnDouble(int column, double total);
    void clearStatistics();

private:
    bool m_uniqueKeys = false;
    std::vector<IBaseHpfTableDataPtr> m_datas;
    std::unordered_map<std::string, std::size_t> m_keyIndex; ///< key -> position in m_datas, with unique keys
    std::map<int, int> m_statInts;
    std::map<int, double> m_statDoubles;
};
