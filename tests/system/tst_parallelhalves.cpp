#include "system/ParallelHalves.h"

#include <QTest>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

class tst_ParallelHalves : public QObject
{
    Q_OBJECT

private slots:
    // A half that throws (memory running out while a large file is read or written) is
    // an error for the caller, never the end of the program; the other half is done by
    // the time the caller hears of it, so it no longer touches what the caller frees.
    void aThrowingHalfReachesTheCallerAfterBothAreDone_data()
    {
        QTest::addColumn<bool>("hereThrows");
        QTest::addColumn<bool>("besideThrows");
        QTest::addColumn<QString>("error");

        QTest::newRow("neither throws") << false << false << "";
        QTest::newRow("the caller's half throws") << true << false << "here";
        QTest::newRow("the other half throws") << false << true << "beside";
        QTest::newRow("both throw: the caller's own comes first") << true << true << "here";
    }
    void aThrowingHalfReachesTheCallerAfterBothAreDone()
    {
        QFETCH(bool, hereThrows);
        QFETCH(bool, besideThrows);
        QFETCH(QString, error);

        std::atomic<bool> besideDone = false;
        std::atomic<bool> hereDone = false;
        QString caught;
        try {
            ParallelHalves::run(
                [&] {
                    hereDone = true;
                    if (hereThrows)
                        throw std::runtime_error("here");
                },
                [&] {
                    // Still working when the caller's half is over.
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                    besideDone = true;
                    if (besideThrows)
                        throw std::runtime_error("beside");
                });
        } catch (const std::runtime_error &failure) {
            caught = QString::fromLatin1(failure.what());
        }
        QCOMPARE(caught, error);
        QVERIFY(hereDone);
        QVERIFY(besideDone);
    }
};

QTEST_GUILESS_MAIN(tst_ParallelHalves)
#include "tst_parallelhalves.moc"
