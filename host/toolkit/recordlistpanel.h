#pragma once

#include <terminalhost/tradedockablewidget.h>

#include <QStringList>

#include <vector>

class CStandardTable;
class QLabel;

/**
 * @brief A trade panel that lists records in a table under a one-line caption, all of them or only
 * the running ones. Subclasses say which records and how each reads.
 */
class TERMINALHOST_EXPORT CRecordListPanel : public ITradeDockableWidget
{
    Q_OBJECT
public:
    CRecordListPanel(const QString& name, const QStringList& headers, QWidget* parent);

    /// Shows only the records that are still running.
    void showRunning();
    bool isShowingRunning() const { return m_runningOnly; }
    CStandardTable* table() const { return m_table; }
    QString caption() const;

protected:
    /// Shows the rows (one text per column), the newest last, and the caption above them.
    void showRows(std::vector<QStringList> rows, const QString& caption);

private:
    CStandardTable* m_table = nullptr;
    QLabel* m_caption = nullptr;
    bool m_runningOnly = false;
};
