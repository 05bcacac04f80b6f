#pragma once

#include <QDialog>

#include <memory>

class CMessage;
class QLabel;
class QTableWidget;
class QTimer;

/**
 * @brief The demo terminal's message view, which the main window opens when the bar's message
 * count is clicked (event 1201): every message the message centre holds, newest first, with its
 * type, time, title and text.
 *
 * While open it follows new messages once a second; closed, it reads nothing.
 */
class CMessageView : public QDialog
{
    Q_OBJECT
public:
    /// Opens the window's message view, created on first use and kept, and brings it to the front.
    static CMessageView* showFor(QWidget* window);

    explicit CMessageView(QWidget* parent);

    /// Rows shown now.
    int rowCount() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refill();

    QTableWidget* m_table = nullptr;
    QLabel* m_summary = nullptr;
    QTimer* m_follow = nullptr;
    std::size_t m_shownTotal = static_cast<std::size_t>(-1);
    std::shared_ptr<CMessage> m_shownNewest;
};
