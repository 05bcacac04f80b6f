#include "msgservice.h"

#include <boost/asio/post.hpp>

namespace {
const char* const kTypeNames[] = {"系统消息", "交易消息", "风控消息", "资讯消息"};
}

CMessage::CMessage(int type, std::string title, std::string content, long long timeMs)
    : m_type(type)
    , m_title(std::move(title))
    , m_content(std::move(content))
    , m_timeMs(timeMs)
{
}

CMsgService* CMsgService::instance()
{
    static CMsgService* service = new CMsgService; // lives for the process; engine threads may still notify
    return service;
}

CMsgService::CMsgService()
    : m_notifications(RPCEngine::instance()->newStrand())
{
}

QStringList CMsgService::messageTypeNames()
{
    QStringList names;
    for (const char* name : kTypeNames)
        names << QString::fromUtf8(name);
    return names;
}

std::vector<CMessagePtr> CMsgService::getMessages(int type) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_messages.find(type);
    return it == m_messages.end() ? std::vector<CMessagePtr>() : it->second;
}

void CMsgService::addMessage(const CMessagePtr& message)
{
    if (!message)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<CMessagePtr>& list = m_messages[message->type()];
        list.push_back(message);
        if (list.size() > kMaxPerType)
            list.erase(list.begin());
    }
    boost::asio::post(*m_notifications, [this, message] { sigNewMessage(message); });
}

void CMsgService::setMessages(int type, std::vector<CMessagePtr> messages)
{
    if (messages.size() > kMaxPerType)
        messages.erase(messages.begin(), messages.end() - static_cast<std::ptrdiff_t>(kMaxPerType));
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<CMessagePtr>& list = m_messages[type];
        if (list == messages)
            return;
        list = std::move(messages);
    }
    emit sigRefresh();
}

void CMsgService::clearMessages()
{
    bool hadAny = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& entry : m_messages)
            hadAny = hadAny || !entry.second.empty();
        m_messages.clear();
    }
    if (hadAny)
        emit sigRefresh();
}

void CMsgService::waitForNotifications()
{
    RPCEngine::waitForStrand(*m_notifications);
}

void CMsgService::reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_messages.clear();
}
