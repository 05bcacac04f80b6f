#include "diagnosticspage.h"

#include <terminalhost/smallnonormalbutton.h>
#include <terminalhost/widgetlist.h>

#include <QVBoxLayout>

#include <vector>

namespace {
constexpr int kRefreshButtonWidth = 30;
}

void DiagnosticsPage::layOut(QWidget* page, QWidget* table, std::initializer_list<ToolButton> moreButtons)
{
    auto* content = new CWidgetList(Qt::Vertical, page);
    content->setMargin(0, 0, 0, 0);
    content->setSpacing(0);
    auto* tools = new CWidgetList(Qt::Horizontal, content);
    std::vector<ToolButton> buttons{{kRefreshButtonId, "刷新", kRefreshButtonWidth}};
    buttons.insert(buttons.end(), moreButtons);
    for (const ToolButton& entry : buttons) {
        auto* button = new CSmallNoNormalButton(entry.id, false, tools, nullptr);
        button->setText(QString::fromUtf8(entry.text));
        button->setFixedWidth(entry.width);
        tools->setFixedHeight(button->height()); // the row is as high as its buttons
        tools->addFixedWidget(button, Anchor_Fill, true);
    }
    tools->addStretchSpace(1);
    content->addFixedWidget(tools, Anchor_Fill, true);
    content->addStretchWidget(table, 1, Anchor_Fill, false);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
}
