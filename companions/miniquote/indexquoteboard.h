#pragma once

#include <QStringList>
#include <QVector>
#include <QWidget>

/**
 * @brief The mini quote client's board: a few market indexes with last price, change and change
 * in percent, as the terminal quotes them. Rises are red and falls green, as the terminal shows
 * them; an index without a quote yet shows "--". A line below the rows says when the terminal's
 * quotes cannot be had.
 */
class CIndexQuoteBoard : public QWidget
{
    Q_OBJECT
public:
    explicit CIndexQuoteBoard(QWidget* parent = nullptr);

    /// The codes of the board's indexes, top to bottom ("SH000001").
    QStringList codes() const;
    QSize sizeHint() const override;

public slots:
    /// A new quote of one of the board's indexes; other codes are ignored.
    void setQuote(const QString& code, double last, double previousClose);
    /// The line below the rows; empty hides it.
    void setMessage(const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct IndexQuote {
        QString code;
        QString name;
        bool quoted = false;
        double previousClose = 0.0;
        double last = 0.0;
    };
    int rowHeight() const;

    QVector<IndexQuote> m_quotes;
    QString m_message;
};
