#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
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

// Who a connection is on the server, enough to end it from another connection and to
// tell that it is gone: its id, the client address the server saw (an id alone may be
// given again after a restart), and the server that holds it ("host:port" as that
// server names itself, since one address may lead to several).
struct SessionRef {
    qint64 id = 0;
    QByteArray clientHost;
    QByteArray server;
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

    // The server chose this write as the loser against another one (a deadlock, or a
    // certification conflict on a cluster) and undid it: it may simply be sent again.
    // A write that found its row changed is ChangedElsewhere too, but not this.
    bool lostToConcurrentWrite() const;

    // For a statement whose reply never came: the session that sent it, when it could
    // not be ended on the server, so that what it does may still change the data. Empty
    // when nothing sent can still run: the server answered, nothing was sent, or the
    // session is known to be gone.
    const std::optional<SessionRef> &stillRunning() const { return m_stillRunning; }
    DbError withStillRunning(std::optional<SessionRef> session) const;
    // The same failure told in other words, everything else kept.
    DbError retold(QString text) const;

private:
    ErrorKind m_kind;
    QString m_sqlState;
    int m_nativeCode;
    QString m_text;
    std::optional<SessionRef> m_stillRunning;
};

} // namespace talveros::data
