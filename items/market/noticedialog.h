#pragma once

#include <statusbar/noticestore.h>

#include <terminalhost/commondialog.h>

#include <QMap>
#include <QString>

class CStandardTabControl;
class CStandardTableEx;
class CWidgetList;

/**
 * @brief "公告列表": the stored announcements of each exchange in a tab of its own, Shanghai first,
 * important ones on top, each row with its title and level. A click on a title emits the
 * announcement's text. The list shows what setNoticeData() gave it last and does not follow later
 * changes.
 */
class NoticeDialog : public CCommonDialog
{
    Q_OBJECT
public:
    explicit NoticeDialog(QWidget* parent);

    /// Refills both tabs from copies of the ticker's important and ordinary stores.
    void setNoticeData(const NoticeStore& important, const NoticeStore& ordinary);
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

    CStandardTabControl* tabControl() const { return m_tabs; }
    CStandardTableEx* shanghaiTable() const { return m_shanghaiTable; }
    CStandardTableEx* shenzhenTable() const { return m_shenzhenTable; }
    /// The texts behind the titles, by exchange and row id.
    const QMap<QString, QMap<int, QString>>& contents() const { return m_contents; }

signals:
    void sigShowNotice(QString content);

private:
    CStandardTableEx* createTable(int titleDelegateId);
    void fillMarket(CStandardTableEx* table, const QString& market, const NoticeStore& important, const NoticeStore& ordinary);
    void fillTable(CStandardTableEx* table, const QString& market, const NoticeMultiMap& notices);

    CWidgetList* m_list = nullptr;
    CStandardTabControl* m_tabs = nullptr;
    CStandardTableEx* m_shanghaiTable = nullptr;
    CStandardTableEx* m_shenzhenTable = nullptr;
    QMap<QString, QMap<int, QString>> m_contents;
};
