#pragma once

#include <terminalhost/basehpftablemodel.h>
#include <terminalhost/basewidget.h>
#include <terminalhost/tableflags.h>

#include <map>
#include <memory>
#include <vector>

class CHpfItemModel;
class CHpfStatisticsBar;
class QHBoxLayout;
class QLineEdit;
class QTableView;

/**
 * @brief The terminal's high-performance table: a view on a model of shared rows
 * (IBaseHpfTableModel) that asks a row for its texts only while the row is on screen, so that a
 * hundred thousand rows refresh in a few milliseconds.
 *
 * Columns behave by their kind (EHpfColumnKind). A filterable column gets a filter field above the
 * rows; a column with statistics is totalled over the rows shown, in a statistics row above the
 * header that shows while any column is totalled; a click on a header sorts by that column (again:
 * the other way round). A click on a cell the model calls clickable delivers event type 233 with
 * "key,column" as text.
 */
class TERMINALHOST_EXPORT CStandardHpfTable : public CBaseWidget, public CTableFlags
{
    Q_OBJECT
public:
    /// Looks of the table.
    enum EHpfTableStyle {
        Style_Monitor = 2, ///< the statistics row comes first, above the header, where a monitor is read first
    };

    /// style: Style_Monitor is the only look so far; flags are CTableFlags bits (word wrap aside: a
    /// row keeps to one line).
    CStandardHpfTable(int style, QWidget* parent, int flags);
    ~CStandardHpfTable() override;

    int flag() const { return m_flags; }
    void setFlag(int flags);

    /// Shows that model's rows from the next updateTable() on; the table owns the model and drops
    /// the previous one.
    void setDataModel(IBaseHpfTableModel* model);

    void setColumnFilterable(int column, bool filterable);
    bool isColumnFilterable(int column) const;
    /// Shows only the rows whose text in the column contains filter, in any case (a key column's
    /// in ASCII letters); an empty filter shows every row. Applies at once, as typing into the
    /// column's filter field does.
    void setColumnFilter(int column, const QString& filter);
    void setColumnStatEnable(int column, bool enable);
    bool isColumnStatEnabled(int column) const;

    /// Reads the model's columns and rows again, then filters, sorts and totals them.
    void updateTable();
    /// Fits each column to its header, its statistics and the texts of the first rows shown.
    void adjustColumnWidth();
    /// Orders the rows shown by the column, as clicks on its header do; -1 restores the model's order.
    void sortByColumn(int column, Qt::SortOrder order);

    /// Rows shown now (after the filter).
    int rowCount() const;
    /// The row shown at a display position; null past the end.
    IBaseHpfTableDataPtr rowData(int row) const;
    /// The text shown in a cell.
    QString cellText(int row, int column) const;
    /// The text of the column's cell in the statistics row.
    QString statText(int column) const;

    void themeChanged() override;

    /// The inner view, for tests that click cells and benchmarks that measure it.
    QTableView* view() const { return m_view; }

protected:
    /// The table's view takes the keyboard itself; the frame around it is no stop of its own.
    bool isTabStopInList() const override { return false; }

private:
    void applyFlags();
    void applyTheme();
    void rebuildRows();
    void computeStatistics(const std::vector<IBaseHpfTableDataPtr>& rows);
    void rebuildFilterBar();
    void nameFilterFields();
    void headerClicked(int column);
    void cellClicked(const QModelIndex& index);

    int m_flags = 0;
    std::unique_ptr<IBaseHpfTableModel> m_model;
    QTableView* m_view = nullptr;
    CHpfItemModel* m_itemModel = nullptr;
    CHpfStatisticsBar* m_statistics = nullptr;
    QWidget* m_filterBar = nullptr;
    QHBoxLayout* m_filterLayout = nullptr;
    std::map<int, QLineEdit*> m_filterEdits;  ///< column -> its field in the filter bar
    std::map<int, QString> m_filters;         ///< column -> filter text, for filterable columns
    std::vector<bool> m_statEnabled;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
