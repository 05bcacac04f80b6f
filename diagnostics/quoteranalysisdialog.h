#pragma once

#include <statusbar/statusbar_export.h>

#include <terminalhost/basewidget.h>
#include <terminalhost/quoterdata.h>

#include <map>

class CStandardTable;

/**
 * @brief The performance monitor's "行情监控" page: for each quote source type of the formula and
 * quote engine, how its subscriptions are made (full push settings, subscription limit) and how
 * many codes it has subscribed from the full push and singly. A click on a count lists those codes
 * with their instrument data. The page is empty until it is first shown or refreshed.
 */
class STATUSBAR_EXPORT CQuoterAnalysisDialog : public CBaseWidget
{
    Q_OBJECT
public:
    explicit CQuoterAnalysisDialog(QWidget* parent);

    /// Reads every listed quote source type's subscriptions anew and shows them.
    void start();
    /// Shown as the current page: refreshes.
    void onActive() override;
    /// The refresh button (type 5, id 0) and the count buttons (event 1000).
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

private:
    void createUi();
    void showCodes(int quoteType, int codeList);

    CStandardTable* m_table = nullptr;
    std::map<int, QuoterDetail> m_details; ///< quote source type -> what start() read
};
