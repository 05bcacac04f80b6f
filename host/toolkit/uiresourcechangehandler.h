#pragma once

#include <terminalhost/terminalhost_export.h>

/**
 * @brief Anything that draws with theme resources. Every live handler hears themeChanged() after a
 * theme switch or a change of the UI scale.
 */
class TERMINALHOST_EXPORT CUiResourceChangeHandler
{
public:
    CUiResourceChangeHandler();
    virtual ~CUiResourceChangeHandler();
    CUiResourceChangeHandler(const CUiResourceChangeHandler&) = delete;
    CUiResourceChangeHandler& operator=(const CUiResourceChangeHandler&) = delete;

    virtual void themeChanged();
};
