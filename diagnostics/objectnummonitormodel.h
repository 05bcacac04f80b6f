#pragma once

#include <terminalhost/basehpftablemodel.h>

/**
 * @brief The object count monitor's columns: the type name, then the created and the live counts,
 * both totalled. Rows are keyed by type name.
 */
class CObjectNumMonitorModel : public IBaseHpfTableModel
{
public:
    enum Column { ColName = 0, ColCreated = 1, ColAlive = 2, ColumnCount = 3 };

    CObjectNumMonitorModel();

    int getColumnCount() const override;
    QString getHeaderText(int column) const override;
    int getColumnKind(int column) const override;
    QString getStatText(int column) const override;
    QString getRowBackgroundKey(int row) const override;
    bool isCellClickable(const IBaseHpfTableData& data, int column) const override;
    int getRowHeight() const override;
};
