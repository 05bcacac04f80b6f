#pragma once

#include <terminalhost/commondialog.h>

#include <QString>

class CStandardTable;

/**
 * @brief The list of running strategy processes: name, start time and a stop button per row, and
 * a stop-all button above the list.
 *
 * The dialog only asks for stops; a row leaves when the user stops it or when the owner reports
 * the process ended. Closing hides the dialog so that its owner can show it again.
 */
class CStrategyRunningDialog : public CCommonDialog
{
    Q_OBJECT
public:
    explicit CStrategyRunningDialog(QWidget* parent = nullptr);

    /// Appends a row for a process that started now.
    void addStrategy(const QString& requestId, const QString& name);
    /// Removes the first row of that request id; an unknown id does nothing.
    void removeStrategy(const QString& requestId);

    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

signals:
    /// The user stopped the strategy of that request id.
    void sigStrategyRemove(const QString& requestId);

private:
    void buildContent();

    CStandardTable* m_table = nullptr;
};
