#include "quotechannelserver.h"

#include <terminalhost/companionprotocol.h>
#include <terminalhost/formulamanager.h>

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>

#include <utility>
#include <vector>

namespace {
const char kNamePrefix[] = "terminal-quotes-";
constexpr int kMarketLength = 2;  // "SH", "SZ" before the six digits
constexpr int kExactDigits = 17;  // every digit of a double: the companion computes from what the bar computes
}

/// One companion on the channel: its socket and the quotes it asked for.
class CQuoteChannelConnection : public QObject
{
    Q_OBJECT
public:
    CQuoteChannelConnection(QLocalSocket* socket, QObject* parent)
        : QObject(parent)
        , m_socket(socket)
    {
        socket->setParent(this);
        connect(socket, &QLocalSocket::readyRead, this, &CQuoteChannelConnection::readRequests);
        connect(socket, &QLocalSocket::disconnected, this, [this] {
            unsubscribeAll();
            deleteLater();
        });
    }
    ~CQuoteChannelConnection() override { unsubscribeAll(); }

private:
    void readRequests()
    {
        while (m_socket->canReadLine()) {
            const QList<QByteArray> words = m_socket->readLine().simplified().split(' ');
            if (words.value(0) != CompanionProtocol::kSubscribeCommand)
                continue;
            for (int i = 1; i < words.size(); ++i)
                subscribe(words.at(i).toStdString());
        }
    }

    void subscribe(const std::string& code)
    {
        TSMetaInfo meta;
        meta.market = code.substr(0, kMarketLength);
        meta.code = code.size() > kMarketLength ? code.substr(kMarketLength) : std::string();
        meta.metaId = MetaId_Snapshot;
        const long long id = CFormulaManager::instance()->subscribeQuoter(
            ProxyType_Stock, meta, TRegionInfo(), DataDemand_HistoryAndPush, false,
            [this](int, int, const std::vector<QuoterBasePtr>& records) { forward(records); });
        if (id >= 0)
            m_subscriptions.emplace_back(id, meta);
    }

    // On the feed thread; the socket is written on the GUI thread. Ending a subscription waits for
    // its running callback, and a call queued to a connection deleted since is dropped with it.
    void forward(const std::vector<QuoterBasePtr>& records)
    {
        for (const QuoterBasePtr& record : records) {
            if (auto quote = std::dynamic_pointer_cast<CQuoteSnapshot>(record))
                QMetaObject::invokeMethod(this, [this, quote] { send(*quote); }, Qt::QueuedConnection);
        }
    }

    void send(const CQuoteSnapshot& quote)
    {
        if (m_socket->state() != QLocalSocket::ConnectedState)
            return;
        m_socket->write(QByteArray(CompanionProtocol::kQuoteReport) + ' ' + QByteArray::fromStdString(quote.code()) + ' '
                        + QByteArray::number(quote.last(), 'g', kExactDigits) + ' '
                        + QByteArray::number(quote.previousClose(), 'g', kExactDigits) + '\n');
    }

    void unsubscribeAll()
    {
        for (const auto& [id, meta] : std::exchange(m_subscriptions, {}))
            CFormulaManager::instance()->unsubQuoter(id, meta);
    }

    QLocalSocket* m_socket = nullptr;
    std::vector<std::pair<long long, TSMetaInfo>> m_subscriptions;
};

CQuoteChannelServer* CQuoteChannelServer::instance()
{
    static CQuoteChannelServer* server = [] {
        // Lives for the process, like the engine; its socket file goes with the application.
        qAddPostRoutine(&CQuoteChannelServer::closeAtExit);
        return new CQuoteChannelServer;
    }();
    return server;
}

void CQuoteChannelServer::closeAtExit()
{
    instance()->reset();
}

QString CQuoteChannelServer::listen(QString* error)
{
    if (m_server && m_server->isListening())
        return m_server->serverName();
    if (!m_server) {
        m_server = new QLocalServer(this);
        connect(m_server, &QLocalServer::newConnection, this, &CQuoteChannelServer::acceptConnections);
    }
    // One channel per terminal process; a socket left behind by a crashed process of the same id goes.
    const QString name = QLatin1String(kNamePrefix) + QString::number(QCoreApplication::applicationPid());
    QLocalServer::removeServer(name);
    if (m_server->listen(name))
        return m_server->serverName();
    if (error)
        *error = QStringLiteral("quote channel %1: %2").arg(name, m_server->errorString());
    return QString();
}

QString CQuoteChannelServer::serverName() const
{
    return m_server && m_server->isListening() ? m_server->serverName() : QString();
}

void CQuoteChannelServer::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection())
        new CQuoteChannelConnection(socket, this);
}

void CQuoteChannelServer::reset()
{
    if (m_server)
        m_server->close();
    qDeleteAll(findChildren<CQuoteChannelConnection*>(QString(), Qt::FindDirectChildrenOnly));
}

#include "quotechannelserver.moc"
