#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace talveros::test {

// Puts tests/support/faultproxy.py between the data layer and the test server for as
// long as it lives: the first `times` client statements matching `match` meet `action`
// (rst-before, rst-after, blackhole-after, …), everything else passes. Connections
// opened meanwhile go through it; the data layer is pointed back at the test server,
// with its usual waits, when it goes.
class FaultProxy {
public:
    // `more` goes to the proxy as it stands: "--delay", "4000", "--error", "1193:HY000:…",
    // "--also-answer", "^KILL=1095:HY000:…".
    FaultProxy(const QString &match, const QString &action, int times = 1, int readTimeoutSeconds = 1,
               const QStringList &more = {});
    ~FaultProxy();
    FaultProxy(const FaultProxy &) = delete;
    FaultProxy &operator=(const FaultProxy &) = delete;

    // What the proxy saw, statement by statement.
    QString log() const;
    bool fired() const { return log().contains(QStringLiteral("TRIGGER")); }

private:
    QProcess m_proxy;
    QString m_logFile;
};

} // namespace talveros::test
