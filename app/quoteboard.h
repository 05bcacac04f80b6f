#pragma once

#include <QTableWidget>
#include <QTime>

#include <cstdint>
#include <random>
#include <vector>

class QTimer;

/**
 * @brief The workspace of the demo terminal: a quote board of a few simulated instruments whose
 * prices move once a second while the simulated market runs. Rises are red and falls green, as on
 * the mainland exchanges.
 */
class CQuoteBoard : public QTableWidget
{
    Q_OBJECT
public:
    explicit CQuoteBoard(std::uint32_t seed, QWidget* parent = nullptr);

    /// Takes colours and fonts from the current theme.
    void applyTheme();
    /// One price step of every instrument, as the timer does it.
    void tick();
    /// Starts or stops the price steps; a board at rest draws nothing until the next change.
    void setMoving(bool moving);

private:
    struct Instrument {
        QString code;
        QString name;
        double previousClose = 0.0;
        double last = 0.0;
        double tickSize = 0.01;
        qint64 volume = 0;
        QTime time; ///< of the last trade
    };
    /// Writes a row's cells; a cell whose text stays the same is not touched, and so not repainted.
    void showRow(int row);

    std::vector<Instrument> m_instruments;
    std::mt19937 m_rng;
    QTimer* m_timer = nullptr;
};
