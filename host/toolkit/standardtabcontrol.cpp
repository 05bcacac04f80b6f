#include "standardtabcontrol.h"

#include <terminalhost/uiresource.h>

#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
const char kObjectName[] = "standard_tab_control";
const char kFontKey[] = "fnt_default_normal";
}

CStandardTabControl::CStandardTabControl(QWidget* parent)
    : CBaseWidget(QLatin1String(kObjectName), false, parent)
    , m_tabs(new QTabWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    m_tabs->setDocumentMode(true);
    m_tabs->tabBar()->setDrawBase(false);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        // A hidden control's first page is activated when the control is shown.
        if (isVisible())
            activate(index);
        emit sigCurrentChanged(index);
    });
    applyTheme();
}

int CStandardTabControl::addTabWidget(const QString& title, QWidget* page)
{
    return page ? m_tabs->addTab(page, title) : -1;
}

void CStandardTabControl::setTabPosition(int position)
{
    QTabWidget::TabPosition qtPosition = QTabWidget::North;
    switch (position) {
    case TabPosition_Top:
        break;
    case TabPosition_Bottom:
        qtPosition = QTabWidget::South;
        break;
    case TabPosition_Left:
        qtPosition = QTabWidget::West;
        break;
    case TabPosition_Right:
        qtPosition = QTabWidget::East;
        break;
    default:
        return;
    }
    m_position = position;
    m_tabs->setTabPosition(qtPosition);
}

void CStandardTabControl::showEvent(QShowEvent* event)
{
    CBaseWidget::showEvent(event);
    // The window coming back from the task bar shows nothing new.
    if (!event->spontaneous())
        activate(m_tabs->currentIndex());
}

void CStandardTabControl::activate(int index)
{
    if (auto* page = qobject_cast<CBaseWidget*>(m_tabs->widget(index)))
        page->onActive();
}

int CStandardTabControl::count() const
{
    return m_tabs->count();
}

int CStandardTabControl::currentIndex() const
{
    return m_tabs->currentIndex();
}

void CStandardTabControl::setCurrentIndex(int index)
{
    m_tabs->setCurrentIndex(index);
}

QString CStandardTabControl::tabText(int index) const
{
    return m_tabs->tabText(index);
}

QWidget* CStandardTabControl::widget(int index) const
{
    return m_tabs->widget(index);
}

void CStandardTabControl::themeChanged()
{
    applyTheme();
}

void CStandardTabControl::applyTheme()
{
    const CUiResource* resource = CUiResource::instance();
    auto color = [resource](const char* key) { return resource->getColor(QLatin1String(key)).name(QColor::HexArgb); };
    const QFont font = resource->getFont(QLatin1String(kFontKey));
    m_tabs->setStyleSheet(
        QStringLiteral("QTabWidget::pane { border: 1px solid %1; background: %2; }"
                       "QTabBar::tab { background: %3; color: %4; border: 1px solid %1; padding: 5px 4px;"
                       " font-family: \"%5\"; font-size: %6px; }"
                       "QTabBar::tab:selected { background: %7; color: %8; }"
                       "QTabBar::tab:hover:!selected { color: %8; }")
            .arg(color("clr_border_default"), color("clr_table_background"), color("clr_tab_background"),
                 color("clr_tab_text"), font.family())
            .arg(font.pixelSize())
            .arg(color("clr_tab_selected_background"), color("clr_tab_selected_text")));
}
