#pragma once

#include <terminalhost/quoterdata.h>

#include <QTableWidget>
#include <QTime>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

class QTimer;

/**
 * @brief The workspace of the demo terminal: a quote board of a few simulated instruments whose
 * prices move once a second while the simulated market runs. Rises are red and falls green, as on
 * the mainland exchanges.
 *
 * The board is the simulated market for its instruments and a client of the formula and quote
 * engine at once: each step publishes the new prices to the engine, and the board shows the
 * prices its subscriptions (one per instrument, subscribed singly: stocks on the stock source,
 * futures on the futures source) bring back.
 */
class CQuoteBoard : public QTableWidget
{
    Q_OBJECT
public:
    explicit CQuoteBoard(std::uint32_t seed, QWidget* parent = nullptr);
    ~CQuoteBoard() override;

    /// Takes colours and fonts from the current theme.
    void applyTheme();
    /// One price step of every instrument, as the timer does it.
    void tick();
    /// Starts or stops the price steps; a board at rest draws nothing until the next change.
    void setMoving(bool moving);

private:
    struct Instrument {
        std::string market; ///< the exchange's code in the engine ("SH", "CFFEX")
        QString code;
        QString name;
        EProxyType source = ProxyType_Stock;
        long long subscription = -1;
        double previousClose = 0.0;
        double last = 0.0;       ///< as the engine last brought it
        double simulated = 0.0;  ///< the simulated market's price, published at each step
        double tickSize = 0.01;
        qint64 volume = 0;
        QTime time; ///< of the last trade
    };
    /// Writes a row's cells; a cell whose text stays the same is not touched, and so not repainted.
    void showRow(int row);
    TSMetaInfo meta(const Instrument& instrument) const;
    void subscribe(int row);
    /// A quote the engine brought for a row's instrument. GUI thread.
    void showQuote(int row, const CQuoteSnapshotPtr& quote);

    std::vector<Instrument> m_instruments;
    std::mt19937 m_rng;
    QTimer* m_timer = nullptr;
};
