#include "quoterdata.h"

namespace {
constexpr unsigned kProxyTypeMask = 0x1503; // bits of types 0, 1, 8, 10 and 12
constexpr int kLastProxyType = 12;
constexpr double kPercent = 100.0;
}

bool isProxyQuoteType(int type)
{
    return type >= 0 && type <= kLastProxyType && ((kProxyTypeMask >> type) & 1u) != 0;
}

QuoterBase::QuoterBase(long long key, long long tradeDate)
    : m_key(key)
    , m_tradeDate(tradeDate)
{
}

QuoterBase::~QuoterBase() = default;

Notice::Notice(long long key, long long tradeDate, int level, std::string title, std::string content)
    : QuoterBase(key, tradeDate)
    , m_level(level)
    , m_title(std::move(title))
    , m_content(std::move(content))
{
}

CQuoteSnapshot::CQuoteSnapshot(long long key, long long tradeDate, std::string code, double last, double previousClose)
    : QuoterBase(key, tradeDate)
    , m_code(std::move(code))
    , m_last(last)
    , m_previousClose(previousClose)
{
}

double CQuoteSnapshot::changePercent() const
{
    return m_previousClose == 0.0 ? 0.0 : change() / m_previousClose * kPercent;
}
