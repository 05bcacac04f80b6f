#include "objectnummonitordata.h"

#include "objectnummonitormodel.h"

#include <terminalhost/hostutils.h>

#include <utility>

namespace {
QString countText(int count)
{
    return count == kNoIntValue ? QStringLiteral("-") : QString::number(count);
}
}

CObjectNumMonitorData::CObjectNumMonitorData(std::string name, int created, int alive)
    : m_name(std::move(name))
    , m_created(created)
    , m_alive(alive)
{
}

QString CObjectNumMonitorData::getText(int column) const
{
    switch (column) {
    case CObjectNumMonitorModel::ColName:
        return sToQs(m_name);
    case CObjectNumMonitorModel::ColCreated:
        return countText(m_created);
    case CObjectNumMonitorModel::ColAlive:
        return countText(m_alive);
    default:
        return QString();
    }
}

std::string CObjectNumMonitorData::getString(int column) const
{
    return column == CObjectNumMonitorModel::ColName ? m_name : std::string();
}

int CObjectNumMonitorData::getInt(int column) const
{
    switch (column) {
    case CObjectNumMonitorModel::ColCreated:
        return m_created;
    case CObjectNumMonitorModel::ColAlive:
        return m_alive;
    default:
        return 0;
    }
}

double CObjectNumMonitorData::getDouble(int) const
{
    return 0.0;
}

QString CObjectNumMonitorData::getTextColorKey(int) const
{
    return QStringLiteral("clr_default");
}

std::string CObjectNumMonitorData::getKey() const
{
    return m_name;
}
