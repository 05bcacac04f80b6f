#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QString>

#include <atomic>
#include <memory>

/// @brief The network connection of the RPC client; the delay is the last measured round trip.
class TERMINALHOST_EXPORT NetConnection
{
public:
    /// Seconds.
    double getDelay() const { return m_delay.load(); }
    void setDelay(double seconds) { m_delay.store(seconds); }

private:
    std::atomic<double> m_delay{0.0};
};

/// @brief The RPC client of the trading service; it has a connection only while connected.
class TERMINALHOST_EXPORT RPCClient
{
public:
    RPCClient();
    /// Null while disconnected.
    NetConnection* getConnection() const { return m_connected.load() ? m_connection.get() : nullptr; }
    void setConnected(bool connected) { m_connected.store(connected); }

private:
    std::unique_ptr<NetConnection> m_connection;
    std::atomic<bool> m_connected{true};
};

/// @brief The terminal's service client: its RPC client and the server's version.
class TERMINALHOST_EXPORT CServiceClient
{
public:
    static CServiceClient* instance();

    /// Null before the terminal has created its RPC client.
    RPCClient* getClient() const { return m_hasClient.load() ? m_client.get() : nullptr; }
    void setHasClient(bool present) { m_hasClient.store(present); }
    /// The RPC client, whether or not it is currently offered; the simulator moves its state.
    RPCClient* rpcClient() const { return m_client.get(); }
    QString getServerVersion() const { return m_serverVersion; }
    void setServerVersion(const QString& version) { m_serverVersion = version; }

    void reset();

private:
    CServiceClient();
    std::unique_ptr<RPCClient> m_client;
    std::atomic<bool> m_hasClient{true};
    QString m_serverVersion;
};

TERMINALHOST_EXPORT CServiceClient* getServiceClient();
