#include "data/SideBySide.h"

#include <QtTest>

#include <stdexcept>
#include <string>

using namespace talveros::data;

namespace {
struct Job {
    int value;
    bool fails;
};

int work(const Job &job)
{
    if (job.fails)
        throw std::runtime_error("read " + std::to_string(job.value));
    return job.value * 10;
}
} // namespace

class TestSideBySide : public QObject {
    Q_OBJECT
private slots:
    // Every read's outcome comes back in the order given, whichever of them failed, so
    // a caller can show what it read before the first failure and pass that one on.
    void everyOutcomeInOrder_data()
    {
        QTest::addColumn<int>("failing"); // -1: none
        QTest::addColumn<bool>("withMeanwhile");
        for (bool meanwhile : {false, true}) {
            const char *how = meanwhile ? ", meanwhile on this thread" : "";
            QTest::addRow("none fails%s", how) << -1 << meanwhile;
            QTest::addRow("the first fails%s", how) << 0 << meanwhile;
            QTest::addRow("the last fails%s", how) << 2 << meanwhile;
        }
    }
    void everyOutcomeInOrder()
    {
        QFETCH(int, failing);
        QFETCH(bool, withMeanwhile);
        const Job jobs[] = {{1, failing == 0}, {2, failing == 1}, {3, failing == 2}};
        bool ranMeanwhile = false;
        std::function<void()> meanwhile;
        if (withMeanwhile)
            meanwhile = [&ranMeanwhile] { ranMeanwhile = true; };
        auto outcomes = readSideBySide<Job, int>({{work, &jobs[0]}, {work, &jobs[1]}, {work, &jobs[2]}}, meanwhile);
        QCOMPARE(outcomes.size(), size_t(3));
        QCOMPARE(ranMeanwhile, withMeanwhile);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(outcomes[size_t(i)].failed(), i == failing);
            if (i == failing)
                QVERIFY_THROWS_EXCEPTION(std::runtime_error, outcomes[size_t(i)].take());
            else
                QCOMPARE(outcomes[size_t(i)].take(), (i + 1) * 10);
        }
    }

    // What runs meanwhile on the calling thread fails the whole call, after the reads.
    void meanwhileFailureWins()
    {
        const Job jobs[] = {{1, true}, {2, false}};
        try {
            readSideBySide<Job, int>({{work, &jobs[0]}, {work, &jobs[1]}},
                                     [] { throw std::logic_error("meanwhile"); });
            QFAIL("no failure passed on");
        } catch (const std::logic_error &e) {
            QCOMPARE(QByteArray(e.what()), QByteArray("meanwhile"));
        }
    }

    void noReads()
    {
        QVERIFY((readSideBySide<Job, int>({})).empty());
    }
};

QTEST_GUILESS_MAIN(TestSideBySide)
#include "tst_sidebyside.moc"
