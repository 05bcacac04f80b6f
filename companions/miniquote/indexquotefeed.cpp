#include "indexquotefeed.h"

#include <terminalhost/companionprotocol.h>

#include <QLocalSocket>

namespace {
constexpr int kQuoteWords = 4; // "quote", the code, the last price, the previous close
}

CIndexQuoteFeed::CIndexQuoteFeed(const QString& channel, const QStringList& codes, QObject* parent)
    : QObject(parent)
    , m_channel(channel)
    , m_codes(codes)
{
}

void CIndexQuoteFeed::start()
{
    if (m_channel.isEmpty()) {
        fail(QStringLiteral("no quote channel: miniQuote shows the terminal's quotes when the terminal starts it (--%1)")
                 .arg(QLatin1String(CompanionProtocol::kQuoteChannelOption)));
        return;
    }
    m_socket = new QLocalSocket(this);
    connect(m_socket, &QLocalSocket::connected, this, [this] {
        m_socket->write(QByteArray(CompanionProtocol::kSubscribeCommand) + ' ' + m_codes.join(QLatin1Char(' ')).toUtf8() + '\n');
    });
    connect(m_socket, &QLocalSocket::readyRead, this, &CIndexQuoteFeed::readQuotes);
    connect(m_socket, &QLocalSocket::errorOccurred, this, [this] { fail(m_socket->errorString()); });
    connect(m_socket, &QLocalSocket::disconnected, this, [this] { fail(QStringLiteral("the terminal closed it")); });
    m_socket->connectToServer(m_channel);
}

void CIndexQuoteFeed::readQuotes()
{
    while (m_socket->canReadLine()) {
        const QList<QByteArray> words = m_socket->readLine().simplified().split(' ');
        if (words.size() != kQuoteWords || words.at(0) != CompanionProtocol::kQuoteReport)
            continue;
        bool lastOk = false;
        bool closeOk = false;
        const double last = words.at(2).toDouble(&lastOk);
        const double previousClose = words.at(3).toDouble(&closeOk);
        if (lastOk && closeOk)
            emit sigQuote(QString::fromUtf8(words.at(1)), last, previousClose);
    }
}

void CIndexQuoteFeed::fail(const QString& why)
{
    // An error is followed by the disconnection it causes: one message says it all.
    if (m_failed)
        return;
    m_failed = true;
    emit sigUnavailable(m_channel.isEmpty() ? why : QStringLiteral("quote channel %1: %2").arg(m_channel, why));
}
