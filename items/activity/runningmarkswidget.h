#pragma once

#include <statusbar/runningcountwidget.h>
#include <statusbar/tstringmapsum.h>

#include <boost/thread/recursive_mutex.hpp>

#include <string>

class CPopCommonPanelDialog;
class QTimer;

/**
 * @brief A running counter of host records (orders, tasks): one mark per record key, 1 while the
 * record runs and 0 otherwise, and the number shown is their sum.
 *
 * Whichever host thread delivers a record sets its mark under the item's lock; the 500 ms tick on
 * the GUI thread reads the sum under the lock and redraws after releasing it. A click opens the
 * popup panel of the item's kind when the user configuration asks for popups, otherwise sends the
 * item's event to the main window. A subclass only subscribes and turns its records into marks; its
 * destructor ends its subscriptions, without the lock, before this one clears the marks.
 */
class CRunningMarksWidget : public CRunningCountWidget
{
    Q_OBJECT
public:
    ~CRunningMarksWidget() override;

    /// A click (event type 10) shows the running records; other events go to the base.
    bool handleEvent(int type, int id, int arg, QString text, void* data) override;

    /// Null until the first click that needs it.
    CPopCommonPanelDialog* popupDialog() const { return m_popupDialog; }

public slots:
    /// The 500 ms tick: shows the sum of the marks.
    void slotTimeout();

protected:
    /// panelKind: the popup panel (CPopCommonPanelDialog kinds); mainWindowEvent: what a click sends
    /// without popups.
    CRunningMarksWidget(const Parts& parts, int panelKind, int mainWindowEvent, QWidget* parent);

    /// Marks one record as running or not; any thread.
    void setMark(const std::string& key, bool running);
    /// Forgets every mark; any thread.
    void clearMarks();
    /// The lock that guards the marks, for a subclass that subscribes and reads its store as one step.
    boost::recursive_mutex& marksMutex() { return m_mutex; }

private:
    int m_panelKind = 0;
    int m_mainWindowEvent = 0;
    CPopCommonPanelDialog* m_popupDialog = nullptr;
    int m_shownCount = 0;
    QTimer* m_refreshTimer = nullptr;
    boost::recursive_mutex m_mutex;
    TStringMapSum<int> m_marks; // guarded by m_mutex: record key -> 1 running, 0 otherwise
};
