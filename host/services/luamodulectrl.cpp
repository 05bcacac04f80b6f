#include "luamodulectrl.h"

#include <QSet>

namespace {
QSet<QString>& granted()
{
    static QSet<QString> modules;
    return modules;
}
QString joined(const QStringList& keys)
{
    return keys.join(QLatin1Char('/'));
}
}

bool LuaModuleCtrl::checkModule(const QStringList& moduleKeys)
{
    return granted().contains(joined(moduleKeys));
}

void LuaModuleCtrl::setModule(const QStringList& moduleKeys, bool on)
{
    if (on)
        granted().insert(joined(moduleKeys));
    else
        granted().remove(joined(moduleKeys));
}

void LuaModuleCtrl::reset()
{
    granted().clear();
}
