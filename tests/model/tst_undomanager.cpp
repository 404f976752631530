#include "model/UndoManager.h"

#include <QSignalSpy>
#include <QTest>

// A counter that registers its own inverse, as the subtitle controller does.
class Counter
{
public:
    explicit Counter(UndoManager &undo)
        : m_undo(undo)
    {
    }
    void add(int amount)
    {
        value += amount;
        m_undo.registerUndo([this, amount] { add(-amount); });
    }
    int value = 0;

private:
    UndoManager &m_undo;
};

class tst_UndoManager : public QObject
{
    Q_OBJECT

private slots:
    void registrationsOfOneEventFormOneStep()
    {
        UndoManager undo;
        Counter counter(undo);
        counter.add(1);
        counter.add(2);
        QCoreApplication::processEvents(); // the event ends
        counter.add(10);
        QCoreApplication::processEvents();
        QCOMPARE(counter.value, 13);
        undo.undo();
        QCOMPARE(counter.value, 3);
        undo.undo();
        QCOMPARE(counter.value, 0);
        QVERIFY(!undo.canUndo());
        undo.redo();
        QCOMPARE(counter.value, 3);
        undo.redo();
        QCOMPARE(counter.value, 13);
        QVERIFY(!undo.canRedo());
    }

    void undoClosesTheOpenEventGroup()
    {
        UndoManager undo;
        Counter counter(undo);
        counter.add(5);
        QVERIFY(undo.canUndo());
        undo.undo(); // same event: the step is closed first, then undone
        QCOMPARE(counter.value, 0);
        QVERIFY(undo.canRedo());
    }

    void explicitGroupsNestInsideTheEvent()
    {
        UndoManager undo;
        Counter counter(undo);
        undo.beginUndoGrouping();
        counter.add(1);
        undo.beginUndoGrouping();
        counter.add(2);
        undo.endUndoGrouping();
        undo.endUndoGrouping();
        undo.setActionName(QStringLiteral("Split"));
        QCoreApplication::processEvents();
        QCOMPARE(undo.undoActionName(), QStringLiteral("Split"));
        undo.undo();
        QCOMPARE(counter.value, 0);
        QCOMPARE(undo.redoActionName(), QStringLiteral("Split"));
        undo.redo();
        QCOMPARE(counter.value, 3);
        QCOMPARE(undo.undoActionName(), QStringLiteral("Split"));
    }

    void newChangeDropsTheRedo()
    {
        UndoManager undo;
        Counter counter(undo);
        counter.add(1);
        undo.undo();
        QVERIFY(undo.canRedo());
        counter.add(7);
        QCoreApplication::processEvents();
        QVERIFY(!undo.canRedo());
    }

    void cleanStateFollowsUndoAndRedo()
    {
        UndoManager undo;
        Counter counter(undo);
        QSignalSpy cleanChanges(&undo, &UndoManager::cleanChanged);
        QVERIFY(undo.isClean());
        counter.add(1);
        QCoreApplication::processEvents();
        QVERIFY(!undo.isClean());
        undo.setClean(); // saved
        QVERIFY(undo.isClean());
        counter.add(1);
        QCoreApplication::processEvents();
        QVERIFY(!undo.isClean());
        undo.undo(); // back to the saved state
        QVERIFY(undo.isClean());
        undo.undo();
        QVERIFY(!undo.isClean());
        counter.add(4); // the saved state is now out of reach
        QCoreApplication::processEvents();
        QVERIFY(!undo.isClean());
        undo.undo();
        QVERIFY(!undo.isClean());
        QVERIFY(cleanChanges.count() >= 4);
    }
};

QTEST_GUILESS_MAIN(tst_UndoManager)
#include "tst_undomanager.moc"
