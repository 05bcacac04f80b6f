#include "fittingpass.h"

#include <algorithm>

namespace {
// A resize keeps a widget within its bounds.
int bounded(const FittingPass::Item& item, int width)
{
    return std::max(item.minimumWidth, std::min(width, item.maximumWidth));
}

// The ticker stops where the rest of the row begins, so that nothing leaves the bar or overlaps.
void keepTickerOnBar(const FittingPass::Input& input, int barWidth, FittingPass::Plan& plan)
{
    int others = input.rowOverhead;
    for (std::size_t i = 0; i < input.items.size(); ++i) {
        if (input.items[i].role != FittingPass::Role::Ticker)
            others += plan.items[i].width < 0 ? input.items[i].currentWidth : plan.items[i].width;
    }
    for (std::size_t i = 0; i < input.items.size(); ++i) {
        const FittingPass::Item& ticker = input.items[i];
        if (ticker.role != FittingPass::Role::Ticker)
            continue;
        const int given = plan.items[i].width < 0 ? ticker.currentWidth : plan.items[i].width;
        if (given > barWidth - others)
            plan.items[i].width = bounded(ticker, barWidth - others);
    }
}
}

FittingPass::Plan FittingPass::decide(const Input& input, int barWidth)
{
    Plan plan;
    plan.wantedWidth = input.separatorWidthSum + input.rightFixedWidth + input.leftWantedWidth;
    plan.items.resize(input.items.size());

    for (std::size_t i = 0; i < input.items.size(); ++i) {
        const Item& item = input.items[i];
        if (item.role == Role::Item)
            plan.items[i] = {Form::Full, bounded(item, item.fullWidth)};
        else if (item.role == Role::Ticker)
            plan.items[i] = {Form::Kept, bounded(item, item.fullWidth)};
    }

    // From the right-hand end until the row fits: the clock first, the running orders last.
    int total = plan.wantedWidth;
    for (std::size_t i = input.items.size(); i-- > 0 && total > barWidth;) {
        const Item& item = input.items[i];
        total = total - item.fullWidth + item.liteWidth;
        plan.items[i] = {Form::Lite, bounded(item, item.liteWidth)};
    }
    plan.fittedWidth = total;

    int occupied = input.fixedOccupied;
    for (std::size_t i = 0; i < input.items.size(); ++i) {
        if (input.items[i].occupies)
            occupied += plan.items[i].width < 0 ? input.items[i].currentWidth : plan.items[i].width;
    }
    const int tickerShare = barWidth - input.orderSwitchAllowance - input.separatorWidthSum - occupied - input.tickerSlack;
    if (tickerShare != 0 && barWidth < plan.wantedWidth) {
        for (std::size_t i = 0; i < input.items.size(); ++i) {
            if (input.items[i].role == Role::Ticker)
                plan.items[i].width = bounded(input.items[i], tickerShare);
        }
    }
    if (input.rowOverhead >= 0)
        keepTickerOnBar(input, barWidth, plan);
    return plan;
}
