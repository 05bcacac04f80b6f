#pragma once

#include <terminalhost/countedobject.h>
#include <terminalhost/terminalhost_export.h>

#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

/// What kind of instrument a code names.
enum EInstrumentKind {
    InstrumentKind_Stock = 0,
    InstrumentKind_Index = 1,
    InstrumentKind_Future = 2,
};

/// @brief The static data of one instrument, as the stock list gives it. Text fields are UTF-8.
struct CInstrumentDetail : private TCountedObject<CInstrumentDetail> {
    CInstrumentDetail() = default;
    CInstrumentDetail(std::string code, std::string name, std::string exchange, EInstrumentKind kind = InstrumentKind_Stock)
        : code(std::move(code)), name(std::move(name)), exchange(std::move(exchange)), kind(kind)
    {
    }

    std::string code;     ///< exchange prefix and code: "SH000001"
    std::string name;     ///< "上证指数"
    std::string exchange; ///< "上海证券交易所"
    EInstrumentKind kind = InstrumentKind_Stock;
};
using CInstrumentDetailPtr = std::shared_ptr<const CInstrumentDetail>;

/**
 * @brief The terminal's stock list: every instrument the quote servers know, by code. The list is
 * loaded in the background; sigStockListFinish() says a load is complete. Queries are safe from any
 * thread.
 */
class TERMINALHOST_EXPORT CStockManager : public QObject
{
    Q_OBJECT
public:
    static CStockManager* instance();

    /// The instrument with that code ("SH000688"); null when the list does not hold it.
    CInstrumentDetailPtr getInstrumentDetail(const QString& code) const;
    /// Adds the instrument, or replaces the one with the same code.
    void addInstrument(const CInstrumentDetail& detail);
    /// Drops the instrument; false when the list did not hold it.
    bool removeInstrument(const QString& code);
    QStringList codes() const;

    /// Marks the list loaded and announces it with sigStockListFinish(), as every completed load does.
    void finishStockList();
    bool isStockListFinished() const;

    /// Empty list, not loaded.
    void reset();

signals:
    void sigStockListFinish();

private:
    CStockManager() = default;

    mutable std::mutex m_mutex;
    std::map<QString, CInstrumentDetailPtr> m_instruments;
    bool m_finished = false;
};
