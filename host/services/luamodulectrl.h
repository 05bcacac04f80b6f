#pragma once

#include <terminalhost/terminalhost_export.h>

#include <QStringList>

/**
 * @brief The user's module rights: a module is named by a group key and a module key.
 */
class TERMINALHOST_EXPORT LuaModuleCtrl
{
public:
    /// True when the user may use the module; modules not granted answer false.
    static bool checkModule(const QStringList& moduleKeys);
    static void setModule(const QStringList& moduleKeys, bool granted);
    static void reset();
};
