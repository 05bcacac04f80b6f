#include "marketinfosimulator.h"

#include <terminalhost/formulamanager.h>
#include <terminalhost/msgservice.h>
#include <terminalhost/stockmanager.h>

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kIndexStepMs = 1000;
constexpr int kNoticeStepMs = 5000;
constexpr int kMessageStepMs = 4000;
constexpr int kTradeDateStepMs = 60000;
constexpr double kMinSpeedFactor = 0.1;
constexpr double kMaxSpeedFactor = 20.0;

constexpr double kCommonMove = 0.0006;   // share of the level per step, either way
constexpr double kOwnMove = 0.0003;
constexpr double kLimitShare = 0.10;     // an index never moves further than this from its previous close
constexpr double kPriceStep = 0.01;

constexpr double kImportantNoticeChance = 0.10; // per notice step
constexpr double kOrdinaryNoticeChance = 0.60;
constexpr double kUrgentShareOfImportant = 0.3;
constexpr double kShanghaiChance = 0.5;
constexpr int kMorningOrdinary = 6;             // per exchange and trading day
constexpr int kMorningImportant = 2;
constexpr double kTradeDateChance = 1.0 / 15.0; // per trade date step: about every quarter of an hour

// Message types drawn by the message step: trade messages most, risk and news now and then.
constexpr double kTradeMessageShare = 0.55;
constexpr double kSystemMessageShare = 0.30;
constexpr double kRiskMessageShare = 0.10;

constexpr int kSaturday = 6;
constexpr long long kYearFactor = 10000;
constexpr long long kMonthFactor = 100;

struct IndexSeed {
    const char* code;
    const char* name;
    const char* exchange;
    double previousClose;
    double beta;
};
// Made-up levels; the bar only needs something that moves like a market.
const IndexSeed kIndexSeeds[] = {
    {"SH000001", "上证指数", "上海证券交易所", 3240.56, 1.0},
    {"SZ399006", "创业板指", "深圳证券交易所", 2105.33, 1.5},
    {"SZ399001", "深证成指", "深圳证券交易所", 10156.82, 1.2},
    {"SH000300", "沪深300", "上海证券交易所", 3788.15, 1.0},
    {"SH000688", "科创50", "上海证券交易所", 982.47, 1.4},
};

struct Company {
    const char* market;
    const char* code;
    const char* name;
};
// The simulated market's listed companies (the quote board's stocks and a few more), all made up.
const Company kCompanies[] = {
    {"SH", "600901", "华信科技"}, {"SH", "601288", "北辰银行"}, {"SH", "601778", "恒远证券"},
    {"SH", "603517", "瑞丰药业"}, {"SH", "688256", "芯源微电"}, {"SZ", "000652", "远航物流"},
    {"SZ", "002508", "嘉禾食品"}, {"SZ", "300417", "新能电气"}, {"SZ", "000933", "鑫泰矿业"},
    {"SZ", "301166", "云启软件"},
};

struct NoticeTemplate {
    const char* title;   ///< %1 the company's name
    const char* body;    ///< %1 name, %2 code, %3 date (yyyy年M月d日)
};
const NoticeTemplate kOrdinaryNotices[] = {
    {"%1关于股票交易异常波动的公告",
     "本公司股票连续三个交易日内日收盘价格涨幅偏离值累计超过20%，属于股票交易异常波动情形。经公司自查并书面问询控股股东及实际控制人，"
     "截至本公告披露日，不存在应披露而未披露的重大信息。公司前期披露的信息不存在需要更正、补充之处。"},
    {"%1%4年年度业绩预告",
     "经财务部门初步测算，预计%4年年度实现归属于上市公司股东的净利润同比增长35%至50%。本次业绩预告未经注册会计师审计，"
     "具体财务数据以公司正式披露的%4年年度报告为准。"},
    {"%1关于召开%5年第一次临时股东大会的通知",
     "公司董事会决定于%3召开%5年第一次临时股东大会，审议《关于变更部分募集资金用途的议案》等事项。"
     "本次会议采用现场投票与网络投票相结合的方式，股权登记日登记在册的股东均有权出席。"},
    {"%1关于控股股东部分股份质押的公告",
     "公司近日接到控股股东通知，获悉其将所持有的本公司部分股份办理了质押手续，本次质押股份占其所持股份的12.6%，"
     "占公司总股本的3.1%。控股股东资信状况良好，具备相应的资金偿还能力，质押风险可控。"},
    {"%1关于回购股份进展情况的公告",
     "截至%3，公司通过集中竞价交易方式累计回购股份1,286,400股，占公司总股本的0.52%，成交总金额为人民币2,318.6万元（不含交易费用）。"
     "本次回购符合公司既定的回购方案及相关法律法规的要求。"},
    {"%1第五届董事会第十二次会议决议公告",
     "公司第五届董事会第十二次会议于%3以通讯表决方式召开，应出席董事9名，实际出席董事9名。会议审议通过了"
     "《关于向银行申请综合授信额度的议案》《关于开展外汇套期保值业务的议案》。"},
    {"%1关于获得政府补助的公告",
     "公司及下属子公司自近期起累计收到与收益相关的政府补助人民币1,860万元，占公司最近一期经审计归属于上市公司股东净利润的11.2%。"
     "上述补助的会计处理及对公司损益的影响以审计机构年度审计确认后的结果为准。"},
    {"%1关于签订日常经营重大合同的公告",
     "公司于%3与客户签订了设备采购合同，合同金额约人民币4.2亿元，约占公司最近一个会计年度经审计营业收入的18%。"
     "合同的履行预计将对公司本年度及以后年度的经营业绩产生积极影响。"},
};
const NoticeTemplate kImportantNotices[] = {
    {"%1关于筹划重大资产重组的停牌公告",
     "公司正在筹划以发行股份及支付现金方式购买资产的重大事项，预计构成重大资产重组。为保证公平信息披露，维护投资者利益，"
     "避免造成公司股价异常波动，经向交易所申请，公司股票（代码：%2）自%3开市起停牌，预计停牌时间不超过10个交易日。"},
    {"关于%1股票实施其他风险警示的公告",
     "因公司最近一个会计年度内部控制被出具否定意见的审计报告，根据交易所股票上市规则的相关规定，公司股票（代码：%2）"
     "将于%3停牌一天，自次一交易日起实施其他风险警示，股票简称前冠以“ST”字样，股票价格的日涨跌幅限制为5%。"},
    {"%1关于控股股东拟协议转让公司股份暨控制权拟发生变更的提示性公告",
     "公司控股股东与受让方于%3签署了《股份转让协议》，拟转让其持有的公司股份占总股本的29.9%。本次转让完成后，公司控股股东及"
     "实际控制人将发生变更。本次交易尚需取得有关部门的批准，能否实施完成存在不确定性，敬请广大投资者注意投资风险。"},
};
const char* const kExchangeNames[] = {"上海证券交易所", "深圳证券交易所"};
const NoticeTemplate kUrgentNotices[] = {
    {"%1关于%5年部分节假日休市安排的通知",
     "根据国务院办公厅关于部分节假日安排的通知，现将%5年部分节假日休市安排通知如下：节假日当日及其后的调休日休市，"
     "次一工作日起照常开市。休市期间不办理证券交易及资金交收，请各会员单位及投资者做好相关安排。"},
    {"%1关于发布《股票上市规则（%5年修订）》的通知",
     "为进一步完善上市公司信息披露制度，提升监管透明度，本所对《股票上市规则》进行了修订，现予以发布，自%3起施行。"
     "各市场参与主体应当认真学习并严格遵守修订后的规则。"},
    {"%1关于对相关证券账户采取限制交易监管措施的公告",
     "近期本所在交易监控中发现，部分证券账户在交易过程中存在影响股票交易价格、误导其他投资者的异常交易行为。"
     "根据本所交易规则的有关规定，自%3起对相关证券账户采取限制交易的监管措施，限制期间为三个月。"},
};

struct MessageSeed {
    const char* title;
    const char* content;
};
const MessageSeed kSystemMessages[] = {
    {"系统维护通知", "系统将于今晚 22:30 至 23:30 进行例行维护，期间查询与委托功能暂停使用。"},
    {"行情服务器切换", "行情连接已切换至备用站点，当前延迟正常。"},
    {"密码到期提醒", "您的交易密码将于 7 天后到期，请及时修改。"},
    {"版本更新", "终端新版本已发布，请在收盘后重启终端完成更新。"},
};
const MessageSeed kTradeMessages[] = {
    {"委托成交", "账户 88020011 买入 华信科技(600901) 500股，成交价 18.42。"},
    {"委托成交", "账户 88020012 卖出 北辰银行(601288) 2000股，成交价 4.38。"},
    {"撤单成功", "账户 88020011 撤销 新能电气(300417) 买入委托 300股。"},
    {"委托废单", "账户 66130207 开仓 IF2606 2手：可用资金不足。"},
    {"委托成交", "账户 66130207 平仓 RB2610 5手，成交价 3472。"},
};
const MessageSeed kRiskMessages[] = {
    {"风控提示", "账户 66130207 保证金占用比例达到 85%，请注意风险。"},
    {"风控提示", "账户 88020012 单只股票持仓集中度超过 30%。"},
};
const MessageSeed kNewsMessages[] = {
    {"资讯", "北辰银行发布年度分红方案：每10股派发现金红利2.35元。"},
    {"资讯", "新能电气中标特高压输电设备项目。"},
};

bool chance(std::mt19937& rng, double probability)
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < probability;
}

template <typename T, std::size_t N>
const T& pick(std::mt19937& rng, const T (&items)[N])
{
    return items[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

QDate toDate(long long tradeDate)
{
    return QDate(static_cast<int>(tradeDate / kYearFactor), static_cast<int>(tradeDate / kMonthFactor % kMonthFactor),
                 static_cast<int>(tradeDate % kMonthFactor));
}

long long toNumber(const QDate& date)
{
    return date.year() * kYearFactor + date.month() * kMonthFactor + date.day();
}

QString fill(const char* text, const QString& name, const QString& code, const QDate& date)
{
    // Not QString::arg: a template uses only some of the markers.
    const QString values[] = {name, code, date.toString(QStringLiteral("yyyy年M月d日")), QString::number(date.year() - 1),
                              QString::number(date.year())};
    QString filled = QString::fromUtf8(text);
    for (int marker = 0; marker < static_cast<int>(std::size(values)); ++marker)
        filled.replace(QLatin1Char('%') + QString::number(marker + 1), values[marker]);
    return filled;
}

struct NoticeText {
    QString title;
    QString body;
};

/// Every announcement of this level the exchange can make on that date, each with its own title.
std::vector<NoticeText> possibleNotices(const std::string& market, int level, const QDate& date)
{
    std::vector<NoticeText> texts;
    const QString day = date.toString(QStringLiteral("yyyy年M月d日"));
    if (level == NoticeLevel_Urgent) {
        const QString exchange = QString::fromUtf8(kExchangeNames[market == "SH" ? 0 : 1]);
        for (const NoticeTemplate& notice : kUrgentNotices) {
            const QString title = fill(notice.title, exchange, QString(), date);
            texts.push_back({title, QStringLiteral("%1\n\n%2\n\n%3\n%4").arg(title, fill(notice.body, exchange, QString(), date), exchange, day)});
        }
        return texts;
    }
    const bool ordinary = level == NoticeLevel_Ordinary;
    const NoticeTemplate* first = ordinary ? std::begin(kOrdinaryNotices) : std::begin(kImportantNotices);
    const NoticeTemplate* last = ordinary ? std::end(kOrdinaryNotices) : std::end(kImportantNotices);
    for (const Company& company : kCompanies) {
        if (market != company.market)
            continue;
        const QString name = QString::fromUtf8(company.name);
        const QString code = QString::fromUtf8(company.code);
        for (const NoticeTemplate* notice = first; notice != last; ++notice) {
            const QString title = fill(notice->title, name, code, date);
            texts.push_back({title, QStringLiteral("证券代码：%1    证券简称：%2\n\n%3\n\n%4\n\n%2董事会\n%5")
                                        .arg(code, name, title, fill(notice->body, name, code, date), day)});
        }
    }
    return texts;
}
}

const std::vector<std::string>& CMarketInfoSimulator::indexCodes()
{
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> list;
        for (const IndexSeed& seed : kIndexSeeds)
            list.emplace_back(seed.code);
        return list;
    }();
    return codes;
}

CMarketInfoSimulator::CMarketInfoSimulator(std::uint32_t seed, QObject* parent)
    : QObject(parent)
    , m_rng(seed)
    , m_indexTimer(new QTimer(this))
    , m_noticeTimer(new QTimer(this))
    , m_messageTimer(new QTimer(this))
    , m_tradeDateTimer(new QTimer(this))
{
    for (const IndexSeed& index : kIndexSeeds)
        m_indices.push_back({index.code, index.previousClose, index.previousClose, index.beta});
    m_tradeDate = CFormulaManager::instance()->getMarketLastTradeDate("SZ");
    connect(m_indexTimer, &QTimer::timeout, this, &CMarketInfoSimulator::stepIndices);
    connect(m_noticeTimer, &QTimer::timeout, this, &CMarketInfoSimulator::stepNotices);
    connect(m_messageTimer, &QTimer::timeout, this, &CMarketInfoSimulator::stepMessages);
    connect(m_tradeDateTimer, &QTimer::timeout, this, &CMarketInfoSimulator::stepTradeDate);
    applyIntervals();
}

CMarketInfoSimulator::~CMarketInfoSimulator()
{
    stop();
}

void CMarketInfoSimulator::start()
{
    if (m_running)
        return;
    m_running = true;
    fillStockList();
    CFormulaManager* manager = CFormulaManager::instance();
    m_tradeDate = manager->getMarketLastTradeDate("SZ");
    manager->setMarketLastTradeDate("SH", m_tradeDate);
    for (const IndexState& index : m_indices)
        publishIndex(index);
    if (m_morningDate != m_tradeDate)
        publishMorningNotices();
    finishStockList();
    m_indexTimer->start();
    m_noticeTimer->start();
    m_messageTimer->start();
    m_tradeDateTimer->start();
}

void CMarketInfoSimulator::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_indexTimer->stop();
    m_noticeTimer->stop();
    m_messageTimer->stop();
    m_tradeDateTimer->stop();
}

void CMarketInfoSimulator::setSpeedFactor(double factor)
{
    m_speedFactor = std::clamp(factor, kMinSpeedFactor, kMaxSpeedFactor);
    applyIntervals();
}

void CMarketInfoSimulator::applyIntervals()
{
    m_indexTimer->setInterval(static_cast<int>(kIndexStepMs / m_speedFactor));
    m_noticeTimer->setInterval(static_cast<int>(kNoticeStepMs / m_speedFactor));
    m_messageTimer->setInterval(static_cast<int>(kMessageStepMs / m_speedFactor));
    m_tradeDateTimer->setInterval(static_cast<int>(kTradeDateStepMs / m_speedFactor));
}

void CMarketInfoSimulator::fillStockList()
{
    CStockManager* stocks = CStockManager::instance();
    for (const IndexSeed& index : kIndexSeeds) {
        if (std::find(m_delisted.begin(), m_delisted.end(), index.code) == m_delisted.end())
            stocks->addInstrument({index.code, index.name, index.exchange, InstrumentKind_Index});
    }
    for (const Company& company : kCompanies) {
        const bool shanghai = std::string(company.market) == "SH";
        const std::string code = std::string(company.market) + company.code;
        if (std::find(m_delisted.begin(), m_delisted.end(), code) == m_delisted.end())
            stocks->addInstrument({code, company.name, kExchangeNames[shanghai ? 0 : 1], InstrumentKind_Stock});
    }
}

void CMarketInfoSimulator::finishStockList()
{
    CStockManager::instance()->finishStockList();
}

void CMarketInfoSimulator::setInstrumentListed(const QString& code, bool listed)
{
    const std::string key = code.toStdString();
    m_delisted.erase(std::remove(m_delisted.begin(), m_delisted.end(), key), m_delisted.end());
    if (!listed) {
        m_delisted.push_back(key);
        CStockManager::instance()->removeInstrument(code);
        return;
    }
    for (const IndexSeed& index : kIndexSeeds) {
        if (key == index.code)
            CStockManager::instance()->addInstrument({index.code, index.name, index.exchange, InstrumentKind_Index});
    }
    for (const Company& company : kCompanies) {
        const std::string companyCode = std::string(company.market) + company.code;
        if (key == companyCode) {
            const bool shanghai = std::string(company.market) == "SH";
            CStockManager::instance()->addInstrument({companyCode, company.name, kExchangeNames[shanghai ? 0 : 1], InstrumentKind_Stock});
        }
    }
}

bool CMarketInfoSimulator::isInstrumentListed(const QString& code) const
{
    return CStockManager::instance()->getInstrumentDetail(code) != nullptr;
}

long long CMarketInfoSimulator::nextKey()
{
    // Keys are publication times in ms; two in the same millisecond still get distinct keys.
    m_lastKey = std::max(QDateTime::currentMSecsSinceEpoch(), m_lastKey + 1);
    return m_lastKey;
}

void CMarketInfoSimulator::publishIndex(const IndexState& index)
{
    CFormulaManager::instance()->publishQuote(
        std::make_shared<CQuoteSnapshot>(nextKey(), m_tradeDate, index.code, index.last, index.previousClose));
}

void CMarketInfoSimulator::stepIndices()
{
    const double common = std::uniform_real_distribution<double>(-kCommonMove, kCommonMove)(m_rng);
    std::uniform_real_distribution<double> own(-kOwnMove, kOwnMove);
    for (IndexState& index : m_indices) {
        const double moved = index.last * (1.0 + index.beta * common + own(m_rng));
        const double low = index.previousClose * (1.0 - kLimitShare);
        const double high = index.previousClose * (1.0 + kLimitShare);
        index.last = std::round(std::clamp(moved, low, high) / kPriceStep) * kPriceStep;
        publishIndex(index);
    }
}

bool CMarketInfoSimulator::publishNotice(const std::string& market, int level, long long key)
{
    std::vector<NoticeText> texts = possibleNotices(market, level, toDate(m_tradeDate));
    // An exchange makes each announcement once: the day's list never shows a title twice.
    texts.erase(std::remove_if(texts.begin(), texts.end(), [this](const NoticeText& text) { return m_publishedTitles.contains(text.title); }),
                texts.end());
    if (texts.empty())
        return false;
    const NoticeText& text = texts[std::uniform_int_distribution<std::size_t>(0, texts.size() - 1)(m_rng)];
    m_publishedTitles.insert(text.title);
    CFormulaManager::instance()->publishNotice(
        market, std::make_shared<Notice>(key, m_tradeDate, level, text.title.toStdString(), text.body.toStdString()));
    emit sigNoticePublished(QString::fromStdString(market), level, text.title);
    return true;
}

void CMarketInfoSimulator::publishMorningNotices()
{
    m_morningDate = m_tradeDate;
    m_publishedTitles.clear();
    for (const char* market : {"SH", "SZ"}) {
        for (int i = 0; i < kMorningOrdinary + kMorningImportant; ++i) {
            // The important ones come among the ordinary ones, not all at the end.
            const bool important = i % ((kMorningOrdinary + kMorningImportant) / kMorningImportant) == 1;
            const int level = !important ? NoticeLevel_Ordinary : i == 1 ? NoticeLevel_Urgent : NoticeLevel_Important;
            publishNotice(market, level, nextKey());
        }
    }
}

bool CMarketInfoSimulator::pushNotice(const std::string& market, bool important)
{
    const int level = !important ? NoticeLevel_Ordinary
                                 : chance(m_rng, kUrgentShareOfImportant) ? NoticeLevel_Urgent : NoticeLevel_Important;
    return publishNotice(market, level, nextKey());
}

void CMarketInfoSimulator::stepNotices()
{
    const double roll = std::uniform_real_distribution<double>(0.0, 1.0)(m_rng);
    if (roll >= kImportantNoticeChance + kOrdinaryNoticeChance)
        return;
    pushNotice(chance(m_rng, kShanghaiChance) ? "SH" : "SZ", roll < kImportantNoticeChance);
}

void CMarketInfoSimulator::pushMessage(int type)
{
    const MessageSeed* seed = nullptr;
    switch (type) {
    case MessageType_System:
        seed = &pick(m_rng, kSystemMessages);
        break;
    case MessageType_Trade:
        seed = &pick(m_rng, kTradeMessages);
        break;
    case MessageType_Risk:
        seed = &pick(m_rng, kRiskMessages);
        break;
    default:
        seed = &pick(m_rng, kNewsMessages);
        break;
    }
    CMsgService::instance()->addMessage(
        std::make_shared<CMessage>(type, seed->title, seed->content, QDateTime::currentMSecsSinceEpoch()));
    emit sigMessagePublished(type, QString::fromUtf8(seed->title));
}

void CMarketInfoSimulator::stepMessages()
{
    const double roll = std::uniform_real_distribution<double>(0.0, 1.0)(m_rng);
    if (roll < kTradeMessageShare)
        pushMessage(MessageType_Trade);
    else if (roll < kTradeMessageShare + kSystemMessageShare)
        pushMessage(MessageType_System);
    else if (roll < kTradeMessageShare + kSystemMessageShare + kRiskMessageShare)
        pushMessage(MessageType_Risk);
    else
        pushMessage(MessageType_News);
}

void CMarketInfoSimulator::changeTradeDate()
{
    QDate date = toDate(m_tradeDate).addDays(1);
    while (date.dayOfWeek() >= kSaturday)
        date = date.addDays(1);
    m_tradeDate = toNumber(date);
    for (IndexState& index : m_indices) {
        index.previousClose = index.last;
        publishIndex(index);
    }
    // The new day's announcements are there before anyone subscribes again for it.
    publishMorningNotices();
    CFormulaManager::instance()->setMarketLastTradeDate("SZ", m_tradeDate);
    CFormulaManager::instance()->setMarketLastTradeDate("SH", m_tradeDate);
}

void CMarketInfoSimulator::stepTradeDate()
{
    if (chance(m_rng, kTradeDateChance))
        changeTradeDate();
}
