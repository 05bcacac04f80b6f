#pragma once

#include <QString>
#include <QVector>

/// One bus event as the main window received it.
struct RecordedEvent {
    int type = 0;
    int id = 0;
    int arg = 0;
    QString text;
    void* data = nullptr;
};

/// Stands in for the main window: records every event that no widget consumed, for its lifetime.
class EventRecorder
{
public:
    explicit EventRecorder(bool consume = true);
    ~EventRecorder();
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;

    const QVector<RecordedEvent>& events() const { return m_events; }
    /// How many recorded events have this type (and this id, when id >= 0).
    int count(int type, int id = -1) const;
    void clear() { m_events.clear(); }

private:
    QVector<RecordedEvent> m_events;
};
