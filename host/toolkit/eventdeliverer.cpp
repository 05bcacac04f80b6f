#include "eventdeliverer.h"

#include <QWidget>

namespace {
CEventDeliverer::Handler& mainWindowHandler()
{
    static CEventDeliverer::Handler handler;
    return handler;
}

quint64 deliveries = 0; // GUI thread only, as the bus is
}

CEventDeliverer::CEventDeliverer(QWidget* self)
    : m_self(self)
{
}

CEventDeliverer::~CEventDeliverer() = default;

bool CEventDeliverer::handleEvent(int, int, int, QString, void*)
{
    return false;
}

bool CEventDeliverer::deliverEvent(int type, int id, int arg, QString text, void* data)
{
    ++deliveries;
    for (QWidget* ancestor = m_self ? m_self->parentWidget() : nullptr; ancestor;
         ancestor = ancestor->parentWidget()) {
        if (auto* deliverer = dynamic_cast<CEventDeliverer*>(ancestor)) {
            if (deliverer->handleEvent(type, id, arg, text, data))
                return true;
        }
    }
    const Handler& handler = mainWindowHandler();
    return handler ? handler(type, id, arg, text, data) : false;
}

bool CEventDeliverer::offerEvent(int type, int id, int arg, QString text, void* data)
{
    ++deliveries;
    if (handleEvent(type, id, arg, text, data))
        return true;
    return deliverEvent(type, id, arg, text, data);
}

quint64 CEventDeliverer::deliveryCount()
{
    return deliveries;
}

void CEventDeliverer::setMainWindowHandler(Handler handler)
{
    mainWindowHandler() = std::move(handler);
}
