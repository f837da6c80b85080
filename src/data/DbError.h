#pragma once

#include <QString>
#include <stdexcept>

namespace talveros::data {

// The one failure type of the data layer: what the driver said, as it said it.
// what() is the driver's description alone, which is what the administrator is shown.
class DbError : public std::runtime_error {
public:
    DbError(QString sqlState, int nativeCode, QString text);

    const QString &sqlState() const { return m_sqlState; }
    int nativeCode() const { return m_nativeCode; }
    // The driver's own description; this is what the administrator sees.
    const QString &text() const { return m_text; }

private:
    QString m_sqlState;
    int m_nativeCode;
    QString m_text;
};

} // namespace talveros::data
