#include "data/DbError.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace talveros::data {

namespace {
// Client errors of a connection that is gone or never came (CR_CONNECTION_ERROR,
// CR_CONN_HOST_ERROR, CR_UNKNOWN_HOST, CR_SERVER_GONE_ERROR, CR_SERVER_LOST,
// CR_SERVER_LOST_EXTENDED, CR_SSL_CONNECTION_ERROR, and the MariaDB client's
// CR_ERR_NET_READ and CR_ERR_NET_WRITE: "Write error: Broken pipe" on a connection the
// server has closed) and the server's own ER_CONNECTION_KILLED, ER_SERVER_SHUTDOWN and
// network read/write errors.
constexpr std::array kUnreachable{2002, 2003, 2005, 2006, 2013, 2055, 2026, 5013, 5014,
                                  1927, 1053, 1158, 1159, 1160, 1161};
// Values the server would not take: too long, NULL, no default, wrong value, out of
// range, duplicate key, foreign key, check constraint.
constexpr std::array kRefused{1406, 1048, 1364, 1366, 1264, 1292, 1062, 1452, 1451, 1216, 1217, 3819, 4025};

template <class Codes>
bool among(const Codes &codes, int code)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}
} // namespace

ErrorKind DbError::classify(const QString &sqlState, int nativeCode)
{
    if (nativeCode == 1213 || sqlState == QLatin1String("40001"))
        return ErrorKind::ChangedElsewhere;
    if (sqlState.startsWith(QLatin1String("08")) || sqlState == QLatin1String("HYT00")
        || sqlState == QLatin1String("HYT01") || among(kUnreachable, nativeCode))
        return ErrorKind::Unreachable;
    if (among(kRefused, nativeCode)
        || (nativeCode != 0 && (sqlState.startsWith(QLatin1String("22")) || sqlState.startsWith(QLatin1String("23")))))
        return ErrorKind::RefusedData;
    return ErrorKind::Other;
}

DbError::DbError(QString sqlState, int nativeCode, QString text)
    : DbError(ErrorKind::Other, std::move(sqlState), nativeCode, std::move(text))
{
    // Classified once the state is a member: the order in which arguments are
    // initialised would let a move of the state run before it is read.
    m_kind = classify(m_sqlState, m_nativeCode);
}

DbError::DbError(ErrorKind kind, QString sqlState, int nativeCode, QString text)
    : std::runtime_error(text.toStdString()),
      m_kind(kind), m_sqlState(std::move(sqlState)), m_nativeCode(nativeCode), m_text(std::move(text))
{
}

bool DbError::lostToConcurrentWrite() const
{
    // The program's own "no row matched" says 40001 without a server code.
    return m_nativeCode == 1213 || (m_nativeCode != 0 && m_sqlState == QLatin1String("40001"));
}

DbError DbError::withStillRunning(std::optional<SessionRef> session) const
{
    DbError e = *this;
    e.m_stillRunning = std::move(session);
    return e;
}

DbError DbError::retold(QString text) const
{
    DbError e(m_kind, m_sqlState, m_nativeCode, std::move(text));
    e.m_stillRunning = m_stillRunning;
    return e;
}

QString DbError::column() const
{
    static const QRegularExpression named(QStringLiteral("column '([^']*)'"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = named.match(m_text);
    return m.hasMatch() ? m.captured(1) : QString();
}

} // namespace talveros::data
