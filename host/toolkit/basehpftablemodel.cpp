#include "basehpftablemodel.h"

#include <terminalhost/hostutils.h>

IBaseHpfTableData::~IBaseHpfTableData() = default;

IBaseHpfTableModel::IBaseHpfTableModel(bool uniqueKeys)
    : m_uniqueKeys(uniqueKeys)
{
}

IBaseHpfTableModel::~IBaseHpfTableModel() = default;

void IBaseHpfTableModel::clear()
{
    m_datas.clear();
    m_keyIndex.clear();
    clearStatistics();
}

void IBaseHpfTableModel::addData(const IBaseHpfTableDataPtr& data)
{
    if (!data)
        return;
    if (!m_uniqueKeys) {
        m_datas.push_back(data);
        return;
    }
    const auto inserted = m_keyIndex.emplace(data->getKey(), m_datas.size());
    if (inserted.second)
        m_datas.push_back(data);
    else
        m_datas[inserted.first->second] = data;
}

int IBaseHpfTableModel::getStatColumnInt(int column) const
{
    const auto it = m_statInts.find(column);
    return it == m_statInts.end() ? kNoIntValue : it->second;
}

double IBaseHpfTableModel::getStatColumnDouble(int column) const
{
    const auto it = m_statDoubles.find(column);
    return it == m_statDoubles.end() ? 0.0 : it->second;
}

void IBaseHpfTableModel::setStatColumnInt(int column, int total)
{
    m_statInts[column] = total;
}

void IBaseHpfTableModel::setStatColumnDouble(int column, double total)
{
    m_statDoubles[column] = total;
}

void IBaseHpfTableModel::clearStatistics()
{
    m_statInts.clear();
    m_statDoubles.clear();
}
