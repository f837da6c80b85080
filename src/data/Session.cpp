#include "data/Session.h"

#include "data/RowWriter.h"

namespace talveros::data {

QByteArray quotedName(QStringView name) { return rowwriter::quotedName(name); }

void Session::add(const QString &table, const std::vector<std::pair<QString, SqlValue>> &fields)
{
    rowwriter::insertFields(m_conn, table, fields);
}

void Session::removeRow(const QString &table, const RowStore &shape, const std::vector<SqlValue> &original)
{
    rowwriter::remove(m_conn, table, shape, original);
}

qint64 Session::countHolding(const QString &table, const std::vector<std::pair<QString, SqlValue>> &values)
{
    return rowwriter::countHolding(m_conn, table, values);
}

} // namespace talveros::data
