#pragma once

#include <QString>
#include <stdexcept>

namespace talveros::data {

// What a failure means for the action that met it, whatever the driver's words.
enum class ErrorKind {
    // The row no longer holds what was read (0 rows matched the optimistic criteria),
    // or the server chose this write as the loser of a conflict (deadlock, or a
    // certification failure on a cluster): re-read and let the administrator decide.
    ChangedElsewhere,
    // The server could not be reached or stopped answering: nothing is known of the
    // data, so nothing the administrator typed may be dropped.
    Unreachable,
    // The server refused a value (too long, NULL where none is allowed, a constraint).
    RefusedData,
    // Anything else the server or the data said.
    Other,
};

// The one failure type of the data layer: what the driver said, as it said it.
// what() is the driver's description alone, which is what the administrator is shown.
class DbError : public std::runtime_error {
public:
    // The kind follows from the SQLSTATE and the server's error number.
    DbError(QString sqlState, int nativeCode, QString text);
    DbError(ErrorKind kind, QString sqlState, int nativeCode, QString text);

    const QString &sqlState() const { return m_sqlState; }
    int nativeCode() const { return m_nativeCode; }
    // The driver's own description; this is what the administrator sees.
    const QString &text() const { return m_text; }
    ErrorKind kind() const { return m_kind; }
    // The column the server named in its refusal ("Data too long for column 'x'"), or
    // empty when it named none.
    QString column() const;

    static ErrorKind classify(const QString &sqlState, int nativeCode);

private:
    ErrorKind m_kind;
    QString m_sqlState;
    int m_nativeCode;
    QString m_text;
};

} // namespace talveros::data
