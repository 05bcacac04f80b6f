#pragma once

#include <terminalhost/countedobject.h>
#include <terminalhost/terminalhost_export.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

/**
 * Quote source types of the formula and quote engine. A proxy type reaches its exchange through
 * the terminal's quote proxy; the others connect directly. Types 2, 3, 4 and 7 are the engine's own
 * internal sources and carry no name here.
 */
enum EProxyType {
    ProxyType_ProxyStock = 0,
    ProxyType_ProxyFuture = 1,
    ProxyType_Stock = 5,
    ProxyType_Future = 6,
    ProxyType_ProxyStockOption = 8,
    ProxyType_StockOption = 9,
    ProxyType_ProxySzHkConnect = 10,
    ProxyType_SzHkConnect = 11,
    ProxyType_ProxyShHkConnect = 12,
    ProxyType_ShHkConnect = 13,
};
/// Quote source types run from 0 to this value minus one.
constexpr int kQuoteSourceTypeCount = 14;

/// True for the quote source types that go through the proxy: 0, 1, 8, 10 and 12.
TERMINALHOST_EXPORT bool isProxyQuoteType(int type);

/// The data series the engine serves, named in TSMetaInfo::metaId.
enum EMetaId {
    MetaId_Snapshot = 1000, ///< the latest quote of one instrument (CQuoteSnapshot records)
    MetaId_Notice = 9000,   ///< the announcements of one exchange (Notice records)
};

/// What a subscription asks for.
enum DataDemand {
    DataDemand_History = 1,        ///< one full batch of what is stored, then nothing
    DataDemand_Push = 2,           ///< only the records published after subscribing
    DataDemand_HistoryAndPush = 3, ///< the full batch, then every new record
};

/// The status of a delivered batch.
enum EQuoterStatus {
    QuoterStatus_Full = 0,      ///< everything stored that the region covers; replaces what the subscriber holds
    QuoterStatus_Increment = 1, ///< records published since
    QuoterStatus_Empty = 4,     ///< the full batch found nothing
};

/// @brief Which series of which instrument a subscription is for.
struct TSMetaInfo {
    std::string market;  ///< exchange: "SH", "SZ"
    std::string code;    ///< six-digit code within the exchange
    int metaId = 0;      ///< EMetaId
    long long param = 0; ///< series parameter; 0 where the series has none
};

/// @brief Which records of a series a subscription wants.
struct TRegionInfo {
    long long startDate = 0;       ///< oldest trade date wanted, yyyymmdd
    long long startKey = 0;        ///< smallest record key wanted
    long long endKey = LLONG_MAX;  ///< largest record key wanted
    long long skipNewest = 0;      ///< the full batch leaves out this many of the newest records
    int maxCount = INT_MAX;        ///< the full batch holds at most this many records
};

/**
 * @brief A record of a quote series. The key orders the records of a series (larger is newer); the
 * trade date (yyyymmdd) names the trading day the record belongs to. Records are not changed once
 * published, so they are shared between threads without a lock.
 */
class TERMINALHOST_EXPORT QuoterBase
{
public:
    QuoterBase(long long key, long long tradeDate);
    virtual ~QuoterBase();

    long long key() const { return m_key; }
    long long tradeDate() const { return m_tradeDate; }

private:
    long long m_key;
    long long m_tradeDate;
};
using QuoterBasePtr = std::shared_ptr<QuoterBase>;

/// How urgent an announcement is.
enum ENoticeLevel {
    NoticeLevel_Ordinary = 0,
    NoticeLevel_Urgent = 1,    ///< "重要紧急"
    NoticeLevel_Important = 2, ///< "重要"
};

/// @brief One exchange announcement: its level, title and text, as UTF-8.
class TERMINALHOST_EXPORT Notice : public QuoterBase, private TCountedObject<Notice>
{
public:
    Notice(long long key, long long tradeDate, int level, std::string title, std::string content);

    int level() const { return m_level; }
    const std::string& title() const { return m_title; }
    const std::string& content() const { return m_content; }

private:
    int m_level;
    std::string m_title;
    std::string m_content;
};
using NoticePtr = std::shared_ptr<Notice>;

/// @brief The latest quote of one instrument; the code carries the exchange prefix ("SH000001").
class TERMINALHOST_EXPORT CQuoteSnapshot : public QuoterBase, private TCountedObject<CQuoteSnapshot>
{
public:
    CQuoteSnapshot(long long key, long long tradeDate, std::string code, double last, double previousClose);

    const std::string& code() const { return m_code; }
    double last() const { return m_last; }
    double previousClose() const { return m_previousClose; }
    double change() const { return m_last - m_previousClose; }
    /// Change against the previous close in percent; 0 without a previous close.
    double changePercent() const;

private:
    std::string m_code;
    double m_last;
    double m_previousClose;
};
using CQuoteSnapshotPtr = std::shared_ptr<CQuoteSnapshot>;

/// @brief How one quote source type takes its codes: the full push switches and the limit of codes
/// subscribed one by one (0: no limit).
struct QuoterPushSettings {
    bool fullPushOpen = false;
    bool forcedFullPush = false;
    bool smartFullPush = false;
    bool needFullPush = false;
    int subscribeLimit = 0;
};

/// @brief What one quote source type has subscribed, and how. Proxy types fill the proxy lists,
/// the others the direct lists; each list holds every code once, in code order.
struct QuoterDetail {
    bool fullPushOpen = false;
    bool forcedFullPush = false;
    bool smartFullPush = false;
    bool needFullPush = false;
    int subscribeLimit = 0;
    std::vector<std::string> singleCodes;
    std::vector<std::string> fullPushCodes;
    std::vector<std::string> proxySingleCodes;
    std::vector<std::string> proxyFullPushCodes;
};
