#pragma once

#include <QVector>
#include <QWidget>

class QTimer;

/**
 * @brief The mini quote client's board: a few market indexes with last price, change and change
 * in percent, moving every second. Rises are red and falls green, as the terminal shows them.
 */
class CIndexQuoteBoard : public QWidget
{
    Q_OBJECT
public:
    explicit CIndexQuoteBoard(QWidget* parent = nullptr);

    QSize sizeHint() const override;

public slots:
    /// Moves every index one small random step.
    void slotTick();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct IndexQuote {
        QString name;
        double previousClose = 0.0;
        double last = 0.0;
    };
    QVector<IndexQuote> m_quotes;
    QTimer* m_timer = nullptr;
};
