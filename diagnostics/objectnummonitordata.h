#pragma once

#include <terminalhost/basehpftabledata.h>

#include <string>

/**
 * @brief One row of the object count monitor: a data type with how many of its objects were
 * created and how many live now. A count of kNoIntValue shows "-".
 */
class CObjectNumMonitorData : public IBaseHpfTableData
{
public:
    CObjectNumMonitorData(std::string name, int created, int alive);

    QString getText(int column) const override;
    std::string getString(int column) const override;
    int getInt(int column) const override;
    double getDouble(int column) const override;
    QString getTextColorKey(int column) const override;
    std::string getKey() const override;

private:
    std::string m_name;
    int m_created = 0;
    int m_alive = 0;
};
