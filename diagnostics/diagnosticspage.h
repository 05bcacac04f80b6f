#pragma once

#include <initializer_list>

class QWidget;

/// The frame every diagnostics page shares: a tool row of flat buttons above the page's table.
namespace DiagnosticsPage {
/// A button of the tool row; its click reaches the page as event type 5 with the id.
struct ToolButton {
    int id;
    const char* text;
    int width; ///< px
};
/// The tool row always starts with "刷新".
constexpr int kRefreshButtonId = 0;

/// Fills page with its tool row, "刷新" and then more, and below it table, which takes the rest.
void layOut(QWidget* page, QWidget* table, std::initializer_list<ToolButton> moreButtons = {});
}
