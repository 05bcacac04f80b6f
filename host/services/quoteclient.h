#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QObject>

/**
 * @brief The quote client: how many quote sources are connected, and whether quotes and trading
 * are both connected.
 */
class TERMINALHOST_EXPORT CQuoteClient : public QObject
{
    Q_OBJECT
public:
    static CQuoteClient* instance();

    int quoteConnectNum() const { return m_connectNum; }
    /// Stores the count and emits sigQuoteConnectNum when it changed.
    void setQuoteConnectNum(int count);
    bool hasQuoteTradeConnect() const { return m_quoteTradeConnect; }
    /// Stores the state and, when it changed, emits sigQuoteConnectNum so that listeners look again.
    void setHasQuoteTradeConnect(bool connected);

    /// Emits sigQuoteConnectNum with the current count, so that views built later start from it.
    void announce();

    void reset();

signals:
    void sigQuoteConnectNum(int count);

private:
    CQuoteClient() = default;
    int m_connectNum = 0;
    bool m_quoteTradeConnect = false;
};

/// True while quotes and trading are both connected.
TERMINALHOST_EXPORT bool isHasQuoteTradeConnect();
