#include "data/DbError.h"

namespace talveros::data {

DbError::DbError(QString sqlState, int nativeCode, QString text)
    : std::runtime_error(text.toStdString()),
      m_sqlState(std::move(sqlState)), m_nativeCode(nativeCode), m_text(std::move(text))
{
}

} // namespace talveros::data
