#include "eventrecorder.h"

#include <terminalhost/eventdeliverer.h>

EventRecorder::EventRecorder(bool consume)
{
    CEventDeliverer::setMainWindowHandler([this, consume](int type, int id, int arg, const QString& text, void* data) {
        m_events.append(RecordedEvent{type, id, arg, text, data});
        return consume;
    });
}

EventRecorder::~EventRecorder()
{
    CEventDeliverer::setMainWindowHandler({});
}

int EventRecorder::count(int type, int id) const
{
    int matches = 0;
    for (const RecordedEvent& event : m_events)
        matches += event.type == type && (id < 0 || event.id == id) ? 1 : 0;
    return matches;
}
