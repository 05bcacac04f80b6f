#pragma once

#include <terminalhost/countedobject.h>
#include <terminalhost/rpcengine.h>
#include <terminalhost/terminalhost_export.h>

#include <QObject>
#include <QStringList>

#include <boost/signals2/signal.hpp>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

/// Kinds of message of the terminal's message centre; their names are CMsgService::messageTypeNames().
enum EMessageType {
    MessageType_System = 0,
    MessageType_Trade = 1,
    MessageType_Risk = 2,
    MessageType_News = 3,
};

/// @brief One message of the message centre. Not changed once published.
class TERMINALHOST_EXPORT CMessage : private TCountedObject<CMessage>
{
public:
    CMessage(int type, std::string title, std::string content, long long timeMs);

    int type() const { return m_type; }
    const std::string& title() const { return m_title; }
    const std::string& content() const { return m_content; }
    /// When it arrived, ms since the epoch.
    long long timeMs() const { return m_timeMs; }

private:
    int m_type;
    std::string m_title;
    std::string m_content;
    long long m_timeMs;
};
using CMessagePtr = std::shared_ptr<CMessage>;

/**
 * @brief The terminal's message centre: the received messages by type, a notification for each new
 * one, and sigRefresh() when the lists were replaced.
 *
 * sigNewMessage is raised on the RPC engine's threads, one message at a time in arrival order, as the
 * network layer receives them; a slot that must not outlive its owner tracks a shared object
 * (boost::signals2 slot tracking), since disconnecting does not wait for a call already running.
 */
class TERMINALHOST_EXPORT CMsgService : public QObject
{
    Q_OBJECT
public:
    using MessageSignal = boost::signals2::signal<void(const std::shared_ptr<CMessage>&)>;

    static CMsgService* instance();
    /// "系统消息", "交易消息", ... by message type.
    static QStringList messageTypeNames();

    /// The messages of one type, oldest first; any thread. Each list keeps the newest kMaxPerType.
    std::vector<CMessagePtr> getMessages(int type) const;
    /// Stores a new message and raises sigNewMessage for it on an engine thread. Any thread.
    void addMessage(const CMessagePtr& message);
    /// Replaces the messages of one type, as a reload from the server does; emits sigRefresh() when
    /// the list changed.
    void setMessages(int type, std::vector<CMessagePtr> messages);
    /// Drops every message and emits sigRefresh() when there were any.
    void clearMessages();
    /// Blocks until every notification raised so far has run. Not from an engine thread.
    void waitForNotifications();

    /// No messages; the signals stay connected.
    void reset();

    static constexpr std::size_t kMaxPerType = 1000;

    /// Raised for each new message, on an engine thread.
    MessageSignal sigNewMessage;

signals:
    /// The message lists were replaced: recount from getMessages().
    void sigRefresh();

private:
    CMsgService();

    mutable std::mutex m_mutex;
    std::map<int, std::vector<CMessagePtr>> m_messages;
    std::shared_ptr<RPCEngine::Strand> m_notifications;
};
