#pragma once

#include <terminalhost/floatwidget.h>

#include <QString>

#include <vector>

class CServiceSwitchCheckBox;

/**
 * @brief The small floating menu of order services that stands above the order service icon.
 *
 * Its height leaves room for two entries, or three when the user has all three services.
 */
class CFloatServiceSwitchWidget : public CFloatWidget
{
    Q_OBJECT
public:
    explicit CFloatServiceSwitchWidget(QWidget* parent = nullptr);

    /// Appends an entry with that text for the service id.
    void addService(const QString& text, int id);
    const std::vector<CServiceSwitchCheckBox*>& rows() const { return m_rows; }

    /// y of the first entry for a menu of that height and slot count, in pixels.
    static int firstRowY(int menuHeight, int slotCount);
    /// Menu height for that number of available services, in pixels.
    static int menuHeight(int serviceCount);

signals:
    void sigServiceSelected(int id);

public slots:
    /// Hides the menu, then reports the chosen service.
    void slotServiceClick(int nID);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutRows();

    std::vector<CServiceSwitchCheckBox*> m_rows; ///< in the order added
    int m_slotCount = 2;
};
