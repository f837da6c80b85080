#include "data/DbError.h"
#include "platform/Action.h"
#include "support/Fakes.h"

#include <QtTest>

#include <functional>
#include <new>
#include <stdexcept>

using namespace talveros;
using data::ErrorKind;

Q_DECLARE_METATYPE(std::function<void()>)

class TestFailures : public QObject {
    Q_OBJECT
private slots:
    // What the driver reports, by SQLSTATE and the server's number, as the action must
    // treat it.
    void kinds_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("native");
        QTest::addColumn<int>("kind");
        const auto row = [](const char *name, const char *state, int native, ErrorKind kind) {
            QTest::newRow(name) << QString::fromLatin1(state) << native << int(kind);
        };
        row("no row matched", "40001", 0, ErrorKind::ChangedElsewhere);
        row("deadlock", "40001", 1213, ErrorKind::ChangedElsewhere);
        row("certification failure", "HY000", 1213, ErrorKind::ChangedElsewhere);
        row("cannot connect", "08001", 0, ErrorKind::Unreachable);
        row("connection refused", "HY000", 2003, ErrorKind::Unreachable);
        row("lost connection", "08S01", 2013, ErrorKind::Unreachable);
        row("server gone", "HY000", 2006, ErrorKind::Unreachable);
        row("broken pipe writing to a closed connection", "HY000", 5014, ErrorKind::Unreachable);
        row("time-out", "HYT00", 0, ErrorKind::Unreachable);
        row("too long", "22001", 1406, ErrorKind::RefusedData);
        row("NULL not allowed", "23000", 1048, ErrorKind::RefusedData);
        row("duplicate key", "23000", 1062, ErrorKind::RefusedData);
        row("a NULL the program read", "22002", 0, ErrorKind::Other);
        row("unknown table", "42S02", 1146, ErrorKind::Other);
    }
    void kinds()
    {
        QFETCH(QString, state);
        QFETCH(int, native);
        QFETCH(int, kind);
        QCOMPARE(int(data::DbError(state, native, QStringLiteral("x")).kind()), kind);
    }

    void refusedColumnIsNamed()
    {
        QCOMPARE(data::DbError(QStringLiteral("22001"), 1406, QStringLiteral("Data too long for column 'Projectnaam' at row 1"))
                     .column(),
                 QStringLiteral("Projectnaam"));
        QCOMPARE(data::DbError(QStringLiteral("23000"), 1062, QStringLiteral("Duplicate entry '5' for key 'PRIMARY'"))
                     .column(),
                 QString());
    }

    // What the server or the data said reaches the administrator as it stands; a fault of
    // the program never passes for one.
    void actionReports_data()
    {
        QTest::addColumn<std::function<void()>>("action");
        QTest::addColumn<QString>("text");
        QTest::newRow("data error") << std::function<void()>([] {
            throw data::DbError(QStringLiteral("HY000"), 1146, QStringLiteral("Table 'x' doesn't exist"));
        }) << "Table 'x' doesn't exist";
        QTest::newRow("reported failure") << std::function<void()>([] {
            throw platform::Failure(QStringLiteral("De printer 'A' is niet gevonden."));
        }) << "De printer 'A' is niet gevonden.";
        QTest::newRow("out of memory") << std::function<void()>([] { throw std::bad_alloc(); })
                                       << platform::outOfMemoryText();
        QTest::newRow("logic error") << std::function<void()>([] { throw std::out_of_range("vector::at"); })
                                     << platform::programFaultText("vector::at");
        QTest::newRow("anything else") << std::function<void()>([] { throw 42; }) << platform::programFaultText(nullptr);
    }
    void actionReports()
    {
        QFETCH(std::function<void()>, action);
        QFETCH(QString, text);
        test::FakeDialogs dialogs;
        QVERIFY(!platform::runAction(dialogs, action));
        QCOMPARE(dialogs.boxes.size(), size_t(1));
        QCOMPARE(dialogs.boxes[0].text, text);
        QCOMPARE(dialogs.boxes[0].title, QStringLiteral("Talveros"));
        QVERIFY(platform::runAction(dialogs, [] {}));
    }
};

QTEST_MAIN(TestFailures)
#include "tst_failures.moc"
