#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalSocket;

/**
 * @brief The mini quote client's line to the terminal's quote channel: it asks for its indexes and
 * hands on every quote the terminal sends, so that the client shows what the terminal shows.
 *
 * Without a channel (the program run by hand), or when the channel cannot be reached or closes, it
 * says why, once, naming the channel.
 */
class CIndexQuoteFeed : public QObject
{
    Q_OBJECT
public:
    /// channel: the name the terminal passed with --quote-channel; empty when it passed none.
    CIndexQuoteFeed(const QString& channel, const QStringList& codes, QObject* parent = nullptr);

    /// Connects and asks for the codes; what goes wrong arrives as sigUnavailable.
    void start();

signals:
    /// A quote of one code ("SH000001"): last price and previous close.
    void sigQuote(const QString& code, double last, double previousClose);
    /// The terminal's quotes cannot be had; message says which channel and why.
    void sigUnavailable(const QString& message);

private:
    void readQuotes();
    void fail(const QString& why);

    QString m_channel;
    QStringList m_codes;
    QLocalSocket* m_socket = nullptr;
    bool m_failed = false;
};
