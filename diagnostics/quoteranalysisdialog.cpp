#include "quoteranalysisdialog.h"

#include "diagnosticspage.h"
#include "quoterdetaildialog.h"
#include "quoteroperationbtn.h"

#include <statusbar/statusbarevents.h>

#include <terminalhost/formulamanager.h>
#include <terminalhost/standardtable.h>

namespace {
constexpr int kTableStyle = 0; // the plain list

enum Column { ColSource, ColPushSettings, ColNeedFullPush, ColFullPushOpen, ColFullPushCodes, ColSingleCodes, ColumnCount };

const char* const kHeaders[ColumnCount] = {"行情源", "全推属性", "是否需要全推", "是否开启全推", "从全推订阅的代码个数", "单支订阅的代码个数"};

struct QuoteSourceRow {
    int type;
    const char* name;
};
// The quote source types the page lists, in its order; the engine's internal types 2, 3, 4 and 7 are left out.
const QuoteSourceRow kQuoteSources[] = {
    {ProxyType_ProxyStock, "proxy股票"},        {ProxyType_ProxyFuture, "proxy期货"},
    {ProxyType_Stock, "股票"},                  {ProxyType_Future, "期货"},
    {ProxyType_ProxyStockOption, "proxy股票期权"}, {ProxyType_StockOption, "股票期权"},
    {ProxyType_ProxySzHkConnect, "proxy深港通"},  {ProxyType_SzHkConnect, "深港通"},
    {ProxyType_ProxyShHkConnect, "proxy沪港通"},  {ProxyType_ShHkConnect, "沪港通"},
};

const std::vector<std::string>& codesOf(const QuoterDetail& detail, int quoteType, int codeList)
{
    const bool proxy = isProxyQuoteType(quoteType);
    if (codeList == CQuoterOperationBtn::CodeList_FullPush)
        return proxy ? detail.proxyFullPushCodes : detail.fullPushCodes;
    return proxy ? detail.proxySingleCodes : detail.singleCodes;
}
}

CQuoterAnalysisDialog::CQuoterAnalysisDialog(QWidget* parent)
    : CBaseWidget(QStringLiteral("quoter_analysis"), false, parent)
{
    createUi();
}

void CQuoterAnalysisDialog::createUi()
{
    m_table = new CStandardTable(kTableStyle, this, CStandardTable::Flag_All);
    m_table->setColumnCount(ColumnCount);
    for (int column = 0; column < ColumnCount; ++column)
        m_table->setHeaderText(column, QString::fromUtf8(kHeaders[column]));
    DiagnosticsPage::layOut(this, m_table);
}

void CQuoterAnalysisDialog::start()
{
    // The rows' buttons go with the rows; a button whose click got us here is deleted later.
    m_table->clear();
    m_details.clear();
    const CFormulaManager* engine = CFormulaManager::instance();
    for (const QuoteSourceRow& source : kQuoteSources) {
        const int row = m_table->appendRow();
        m_table->setItemText(row, ColSource, QString::fromUtf8(source.name), false);
        const QuoterDetail& detail = m_details[source.type] = engine->getQuoterDetail(source.type);

        m_table->setItemText(row, ColPushSettings,
                             QStringLiteral("强制全推:%1, 智能全推:%2, 最大订阅数:%3")
                                 .arg(detail.forcedFullPush ? 1 : 0)
                                 .arg(detail.smartFullPush ? 1 : 0)
                                 .arg(detail.subscribeLimit),
                             false);
        // A "否" is mostly a plain setting; only a full push that is needed but not open is wrong.
        const auto showYesNo = [this, row](int column, bool yes, bool noIsWrong) {
            m_table->setItemText(row, column, yes ? QStringLiteral("是") : QStringLiteral("否"), false);
            const QString noColorKey = noIsWrong ? QStringLiteral("clr_table_warning_text") : QString();
            m_table->setItemTextColorKey(row, column, yes ? QStringLiteral("clr_global_fall") : noColorKey, false);
        };
        showYesNo(ColNeedFullPush, detail.needFullPush, false);
        showYesNo(ColFullPushOpen, detail.fullPushOpen, detail.needFullPush);

        const int fullPushCount = static_cast<int>(codesOf(detail, source.type, CQuoterOperationBtn::CodeList_FullPush).size());
        const int singleCount = static_cast<int>(codesOf(detail, source.type, CQuoterOperationBtn::CodeList_Single).size());
        m_table->setItemWidget(row, ColFullPushCodes,
                               new CQuoterOperationBtn(source.type, CQuoterOperationBtn::CodeList_FullPush, fullPushCount, this),
                               Qt::AlignCenter, true);
        m_table->setItemWidget(row, ColSingleCodes,
                               new CQuoterOperationBtn(source.type, CQuoterOperationBtn::CodeList_Single, singleCount, this),
                               Qt::AlignCenter, true);
    }
}

void CQuoterAnalysisDialog::onActive()
{
    start();
}

bool CQuoterAnalysisDialog::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type == Event_Activate && id == DiagnosticsPage::kRefreshButtonId) {
        start();
        return true;
    }
    if (type == StatusBarEvent::QuoterCodes) {
        showCodes(id, arg);
        return true;
    }
    return CBaseWidget::handleEvent(type, id, arg, text, data);
}

void CQuoterAnalysisDialog::showCodes(int quoteType, int codeList)
{
    const auto stored = m_details.find(quoteType);
    const QuoterDetail detail = stored == m_details.end() ? QuoterDetail() : stored->second;
    const std::vector<std::string> codes = codesOf(detail, quoteType, codeList);
    auto* dialog = new CQuoterDetailDialog(nullptr);
    dialog->setCodes(codes);
    dialog->exec();
}
