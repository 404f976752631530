#include "system/SharedLibrary.h"

#include <QTest>

class tst_SharedLibrary : public QObject
{
    Q_OBJECT

private slots:
    // A library or function that is not there is an error to show, never a null function
    // called later.
    void missingFilesAndFunctionsAreErrors_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("error");

        QTest::newRow("a library that is there, with the function") << "m" << 6 << "cos" << "";
        QTest::newRow("a missing library") << "cuewright-not-installed" << 1 << "cos" << "cuewright-not-installed";
        QTest::newRow("a version that is not installed") << "m" << 999 << "cos" << "libm.so.999";
        QTest::newRow("a function the library lacks") << "m" << 6 << "cuewright_missing" << "cuewright_missing";
    }
    void missingFilesAndFunctionsAreErrors()
    {
        QFETCH(QString, file);
        QFETCH(int, version);
        QFETCH(QString, function);
        QFETCH(QString, error);

        SharedLibrary library{{file.toLatin1().constData(), version}};
        double (*cosine)(double) = nullptr;
        library.resolve(cosine, function.toLatin1().constData());
        QCOMPARE(library.isLoaded(), error.isEmpty());
        if (error.isEmpty()) {
            QVERIFY(cosine);
            QCOMPARE(cosine(0), 1.0);
        } else {
            QVERIFY(!cosine);
            QVERIFY2(library.errorString().contains(error), qPrintable(library.errorString()));
        }
    }
};

QTEST_GUILESS_MAIN(tst_SharedLibrary)
#include "tst_sharedlibrary.moc"
