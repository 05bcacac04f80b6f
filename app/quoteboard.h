#pragma once

#include <QTableWidget>

#include <cstdint>
#include <random>
#include <vector>

class QTimer;

/**
 * @brief The workspace of the demo terminal: a quote board of a few simulated instruments whose
 * prices move once a second. Rises are red and falls green, as on the mainland exchanges.
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

private:
    struct Instrument {
        QString code;
        QString name;
        double previousClose = 0.0;
        double last = 0.0;
        double tickSize = 0.01;
        qint64 volume = 0;
    };
    void showRow(int row);

    std::vector<Instrument> m_instruments;
    std::mt19937 m_rng;
    QTimer* m_timer = nullptr;
};
