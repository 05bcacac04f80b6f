#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QObject>
#include <QString>

class QLocalServer;

/**
 * @brief The terminal's quote channel for its companion programs: a local socket on which a
 * companion asks for instruments and receives their quotes from the same feed the status bar's
 * displays read (the formula manager's snapshots), so that both show the same numbers.
 *
 * A companion sends one line "subscribe <code> ..." (codes with their exchange, "SH000001"); the
 * channel answers each code at once with the latest quote the engine holds, then with every new
 * one, a line "quote <code> <last> <previous close>" each (CompanionProtocol). Quotes come on the
 * engine's feed thread and are written on the GUI thread. A companion that hangs up ends its
 * subscriptions.
 */
class TERMINALHOST_EXPORT CQuoteChannelServer : public QObject
{
    Q_OBJECT
public:
    static CQuoteChannelServer* instance();

    /// Opens the channel unless it is open: the name a companion connects to, or empty when the
    /// socket cannot be opened (error then names the socket and says why). GUI thread.
    QString listen(QString* error = nullptr);
    /// Empty while the channel is closed.
    QString serverName() const;
    /// Companions connected now.
    int connectionCount() const;

    /// Hangs up on every companion and closes the channel.
    void reset();

private:
    CQuoteChannelServer() = default;
    static void closeAtExit();
    void acceptConnections();

    QLocalServer* m_server = nullptr;
};
