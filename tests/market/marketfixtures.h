#pragma once

#include <terminalhost/formulamanager.h>
#include <terminalhost/hostreset.h>
#include <terminalhost/msgservice.h>
#include <terminalhost/quoterdata.h>
#include <terminalhost/stockmanager.h>

#include <memory>
#include <string>
#include <vector>

namespace market {

constexpr long long kTradeDate = 20260105;

inline std::shared_ptr<Notice> notice(long long key, int level, const std::string& title,
                                      const std::string& content = "正文", long long tradeDate = kTradeDate)
{
    return std::make_shared<Notice>(key, tradeDate, level, title, content);
}

inline std::vector<QuoterBasePtr> batch(std::initializer_list<QuoterBasePtr> records)
{
    return std::vector<QuoterBasePtr>(records);
}

inline void addIndex(const std::string& code, const std::string& name)
{
    CStockManager::instance()->addInstrument({code, name, "上海证券交易所", InstrumentKind_Index});
}

/// Every host delivery queued so far has run: announcement batches, quotes and message notifications.
inline void settleHost()
{
    CFormulaManager::instance()->waitForFeed();
    CMsgService::instance()->waitForNotifications();
}

/// A clean host whose deliveries of earlier tests are over.
inline void freshHost()
{
    resetHost();
    settleHost();
}

}
