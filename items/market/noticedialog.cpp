#include "noticedialog.h"

#include <terminalhost/basetablecolumnsimpletextdelegate.h>
#include <terminalhost/hostutils.h>
#include <terminalhost/standardtabcontrol.h>
#include <terminalhost/standardtableex.h>
#include <terminalhost/widgetlist.h>

#include <algorithm>

namespace {
const char kTitle[] = "公告列表";
const char kShanghaiTab[] = "  上证公告  ";
const char kShenzhenTab[] = "  深证公告  ";
const char kShanghai[] = "SH";
const char kShenzhen[] = "SZ";
const char kTitleHeader[] = "公告标题";
const char kLevelHeader[] = "级别";
const char kUrgentText[] = "重要紧急";
const char kImportantText[] = "重要";
const char kOrdinaryText[] = "普通";
const char kHighlightColorKey[] = "tc_clr_deptch_order_queue_price_rise";
const char kTitleFontKey[] = "fnt_default_normal_fix";
constexpr int kMargin = 10;          // px around the tabs
constexpr int kListWidth = 720;
constexpr int kListHeight = 420;
constexpr int kTableStyle = 0;
constexpr int kShanghaiTitleId = 1026;
constexpr int kShenzhenTitleId = 1027;
constexpr int kColumnCount = 2;
constexpr int kTitleColumn = 0;
constexpr int kLevelColumn = 1;
constexpr int kMinTitleWidth = 80;   // px
constexpr int kTitleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
constexpr int kShanghaiTabIndex = 0;
constexpr int kTabStretch = 1;
// Header, row selection, a stretching level column and a hand over the titles; no column moving
// or sizing by the user, no multiple selection, no editing.
constexpr int kTableFlagsOn = CStandardTableEx::Flag_HeaderVisible | CStandardTableEx::Flag_RowSelect
    | CStandardTableEx::Flag_LastColumnStretch | CStandardTableEx::Flag_ClickableCursor;
constexpr int kTableFlagsOff = CStandardTableEx::Flag_ColumnMove | CStandardTableEx::Flag_MultiSelect
    | CStandardTableEx::Flag_ColumnResize | CStandardTableEx::Flag_Editable;
}

NoticeDialog::NoticeDialog(QWidget* parent)
    : CCommonDialog(parent)
{
    setTitle(QString::fromUtf8(kTitle));
    m_list = new CWidgetList(Qt::Vertical, this);
    m_list->setMargin(kMargin, kMargin, kMargin, kMargin);
    m_tabs = new CStandardTabControl(m_list);
    m_tabs->setTabPosition(TabPosition_Top);
    m_shanghaiTable = createTable(kShanghaiTitleId);
    m_tabs->addTabWidget(QString::fromUtf8(kShanghaiTab), m_shanghaiTable);
    m_shenzhenTable = createTable(kShenzhenTitleId);
    m_tabs->addTabWidget(QString::fromUtf8(kShenzhenTab), m_shenzhenTable);
    m_list->addStretchWidget(m_tabs, kTabStretch, Anchor_Fill, false);
    m_list->resize(kListWidth, kListHeight);
    // The frame lays the inner widget out: the list's size is kept as the smallest it gets.
    m_list->setMinimumSize(m_list->size());
    setInnerWidget(m_list);
}

CStandardTableEx* NoticeDialog::createTable(int titleDelegateId)
{
    auto* table = new CStandardTableEx(kTableStyle, m_tabs);
    table->setFlag((table->flag() | kTableFlagsOn) & ~kTableFlagsOff);
    table->setColumnCount(kColumnCount);
    auto* titles = new CBaseTableColumnSimpleTextDelegate(titleDelegateId, table);
    titles->setFontKey(QLatin1String(kTitleFontKey));
    titles->setTextAlignment(kTitleAlignment);
    table->setColumnDelegate(kTitleColumn, titles);
    table->setColumnVisible(kTitleColumn, true);
    table->setColumnVisible(kLevelColumn, true);
    table->setColListVisible(kTitleColumn, true);
    table->setHeaderText(kTitleColumn, QString::fromUtf8(kTitleHeader));
    table->setHeaderText(kLevelColumn, QString::fromUtf8(kLevelHeader));
    return table;
}

void NoticeDialog::setNoticeData(const NoticeStore& important, const NoticeStore& ordinary)
{
    fillMarket(m_shanghaiTable, QLatin1String(kShanghai), important, ordinary);
    fillMarket(m_shenzhenTable, QLatin1String(kShenzhen), important, ordinary);
}

void NoticeDialog::fillMarket(CStandardTableEx* table, const QString& market, const NoticeStore& important,
                              const NoticeStore& ordinary)
{
    table->clear();
    m_contents.remove(market);
    // Every row goes on top: the important ones, added last, end up above the ordinary ones.
    fillTable(table, market, ordinary.value(market));
    fillTable(table, market, important.value(market));
}

void NoticeDialog::fillTable(CStandardTableEx* table, const QString& market, const NoticeMultiMap& notices)
{
    for (auto it = notices.cbegin(); it != notices.cend(); ++it) {
        const std::shared_ptr<Notice>& notice = it.value();
        if (!notice)
            continue;
        const int row = table->prependRow();
        const int level = notice->level();
        if (level == NoticeLevel_Urgent || level == NoticeLevel_Important) {
            table->setItemText(row, kLevelColumn, QString::fromUtf8(level == NoticeLevel_Urgent ? kUrgentText : kImportantText), true);
            table->setItemTextColorKey(row, kLevelColumn, QLatin1String(kHighlightColorKey), true);
        } else if (level == NoticeLevel_Ordinary) {
            table->setItemText(row, kLevelColumn, QString::fromUtf8(kOrdinaryText), true);
        }
        m_contents[market][row] = sToQs(notice->content());
        if (auto* titles = dynamic_cast<CBaseTableColumnSimpleTextDelegate*>(table->columnDelegate(kTitleColumn))) {
            const QString key = QString::number(row);
            titles->setItemText(key, sToQs(notice->title()), true);
            titles->setItemClickable(key, true, true);
            if (level != NoticeLevel_Ordinary)
                titles->setItemColorKey(key, QLatin1String(kHighlightColorKey), true);
            table->setColumnWidth(kTitleColumn, std::max(titles->getAdjustedWidth(), kMinTitleWidth));
        }
    }
}

bool NoticeDialog::handleEvent(int type, int id, int arg, QString text, void* data)
{
    if (type != Event_TableCellClick)
        return CCommonDialog::handleEvent(type, id, arg, text, data);
    if (!m_tabs)
        return true;
    // The tab shown, not the sender's id, says which exchange the row belongs to.
    const QString market = QLatin1String(m_tabs->currentIndex() == kShanghaiTabIndex ? kShanghai : kShenzhen);
    const int row = text.toInt();
    emit sigShowNotice(m_contents.value(market).value(row));
    return true;
}
