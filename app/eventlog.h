#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QTableWidget;

/**
 * @brief The demo's list of the bus events that reached the main window, newest last, with the
 * demo's own notes (bar rebuilt, simulator switched) between them.
 */
class CEventLog : public QWidget
{
    Q_OBJECT
public:
    explicit CEventLog(QWidget* parent = nullptr);

    void addEvent(int type, int id, int arg, const QString& text, bool handled);
    void addNote(const QString& text);
    void clear();
    int rowCount() const;

    /// What a bus event type means to the main window; empty for a type it does not know.
    static QString eventName(int type);

private:
    void addRow(const QStringList& cells);

    QTableWidget* m_table = nullptr;
    QLabel* m_count = nullptr;
    int m_eventCount = 0;
};
