#include "support/FaultProxy.h"

#include "data/ConnectionSettings.h"
#include "data/KeptConnections.h"
#include "support/TestDb.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace talveros::test {

namespace {
int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

QTemporaryDir &logDir()
{
    static QTemporaryDir dir;
    return dir;
}
} // namespace

FaultProxy::FaultProxy(const QString &match, const QString &action, int times, int readTimeoutSeconds,
                       const QStringList &more)
{
    useTestServer();
    const int upstream = data::serverPort();
    const int port = freePort();
    static int count = 0;
    m_logFile = logDir().filePath(QStringLiteral("proxy%1.log").arg(++count));
    m_proxy.setProcessChannelMode(QProcess::ForwardedChannels);
    m_proxy.start(QStringLiteral("python3"),
                  QStringList{QStringLiteral(TALVEROS_TESTS_DIR "/support/faultproxy.py"), QString::number(port),
                              QString::number(upstream), QStringLiteral("--match"), match, QStringLiteral("--action"),
                              action, QStringLiteral("--delay"), QStringLiteral("0"), QStringLiteral("--times"),
                              QString::number(times), QStringLiteral("--lifetime"), QStringLiteral("120"),
                              QStringLiteral("--log"), m_logFile}
                      + more);
    if (!m_proxy.waitForStarted(10000))
        qFatal("the fault proxy did not start");
    for (int tries = 0; tries < 200; ++tries) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, quint16(port));
        if (probe.waitForConnected(100)) {
            probe.abort();
            break;
        }
        QThread::msleep(25);
    }
    data::overrideServerForTests(QStringLiteral("127.0.0.1"), port);
    data::overrideTimeoutsForTests(5, readTimeoutSeconds, readTimeoutSeconds);
    // A proxy of an earlier case may have had this port: nothing kept from it is used.
    data::kept::closeAll();
}

FaultProxy::~FaultProxy()
{
    useTestServer();
    data::overrideTimeoutsForTests(data::settings::kConnectTimeoutSeconds, data::settings::kReadTimeoutSeconds,
                                   data::settings::kWriteTimeoutSeconds);
    m_proxy.kill();
    m_proxy.waitForFinished(5000);
    data::kept::closeAll();
}

QString FaultProxy::log() const
{
    QFile file(m_logFile);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace talveros::test
