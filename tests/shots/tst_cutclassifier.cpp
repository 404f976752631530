#include "shots/CutClassifier.h"

#include <QtTest>

class TestCutClassifier : public QObject
{
    Q_OBJECT

private slots:
    void placeholder() {}
};

QTEST_GUILESS_MAIN(TestCutClassifier)
#include "tst_cutclassifier.moc"
