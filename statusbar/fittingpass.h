#pragma once

#include <vector>

/**
 * @brief The fitting pass's decision, apart from any widget: which registered items of the status
 * bar go compact, and the width each gets, for one bar width.
 *
 * The row wants T = separator widths + right-hand fixed width + left-hand wanted width. Every item
 * starts in its full form; then, walking the registered items from the last to the first while T is
 * more than the bar's width, each goes compact and T drops by what that saves. The announcement
 * ticker gets what the row leaves it: bar width - order switch allowance - separator widths -
 * occupied width - its slack (50 px at 100 %), when the row did not fit in full and that share is
 * not 0. Every width is bounded by the item's own bounds, as a resize bounds it. Where the row's
 * overhead is known, the ticker is never wider than what the other widgets leave on the bar.
 * Widths are the bar's, at its UI scale.
 *
 * decide() is a pure function; the bar applies its plan once per width change.
 */
namespace FittingPass {

constexpr int kUnbounded = (1 << 24) - 1; ///< the widest a widget can be (QWIDGETSIZE_MAX)
constexpr int kTickerSlack = 50;           ///< px the announcement ticker leaves free, at 100 %

/// How the pass treats a registered item.
enum class Role {
    Item,   ///< full form and width first; the compact form and width when its turn comes
    Tag,    ///< left alone until its turn comes, then compact; it saves nothing (the trade and quote tags)
    Ticker, ///< the announcement ticker: its full width without a form change, then the row's leftover
};

/// One registered item as the pass sees it.
struct Item {
    Role role = Role::Item;
    int fullWidth = 0;              ///< px, getMaxWidth()
    int liteWidth = 0;              ///< px, getMinWidth()
    int minimumWidth = 0;           ///< px, the widget's own bounds
    int maximumWidth = kUnbounded;
    bool occupies = true;           ///< its width counts against the ticker's share
    int currentWidth = 0;           ///< px, what it keeps when the pass leaves it alone
};

/// What the bar knows when its width changes.
struct Input {
    std::vector<Item> items; ///< the registered items, in the order they were registered
    int separatorWidthSum = 0;
    int rightFixedWidth = 0;
    int leftWantedWidth = 0;
    int orderSwitchAllowance = 0;
    /// px of the unregistered widgets that count against the ticker's share: the index ticker, the
    /// magnifier, the order service switch and the latency indicator
    int fixedOccupied = 0;
    /// px the row takes besides the registered items (gaps, spacing, margins, separators and the
    /// unregistered widgets); -1 when unknown. The wanted width leaves out the tags, the spacing
    /// and the gaps, so the ticker's share can be more than the row has: with this known, the
    /// ticker gives up what would push the right-hand end off the bar.
    int rowOverhead = -1;
    int tickerSlack = kTickerSlack; ///< px, at the bar's UI scale
};

enum class Form {
    Kept, ///< no switch
    Full,
    Lite,
};

/// What happens to one item.
struct ItemPlan {
    Form form = Form::Kept;
    int width = -1; ///< px, within the item's bounds; -1: left as it is
};

struct Plan {
    std::vector<ItemPlan> items; ///< one per input item, in the same order
    int wantedWidth = 0;         ///< px, T before any item went compact
    int fittedWidth = 0;         ///< px, T once the compact forms are counted
};

/// The plan for a bar barWidth pixels wide.
Plan decide(const Input& input, int barWidth);
}
