#include "model/UndoManager.h"

#include <QSignalSpy>
#include <QTest>

// A value that registers its own inverse, as the subtitle controller does.
class Value
{
public:
    explicit Value(UndoManager &undo) : m_undo(undo) {}
    void set(int newValue)
    {
        m_undo.registerUndo([this, old = value] { set(old); });
        value = newValue;
    }
    int value = 0;

private:
    UndoManager &m_undo;
};

class tst_UndoManager : public QObject
{
    Q_OBJECT

private slots:
    // One turn of the event loop is one step; its inverses run last first.
    void eachEventIsOneStep()
    {
        UndoManager undo;
        Value v(undo);
        v.set(1);
        v.set(2);
        QCoreApplication::processEvents();
        v.set(3);
        QVERIFY(undo.canUndo());
        QList<int> seen;
        for (auto step : {&UndoManager::undo, &UndoManager::undo, &UndoManager::redo, &UndoManager::redo}) {
            (undo.*step)(); // an open step is closed first
            seen.append(v.value);
        }
        QCOMPARE(seen, (QList<int>{2, 0, 2, 3}));
        QVERIFY(!undo.canRedo());
        undo.undo();
        v.set(7); // a new change drops the redo
        QCoreApplication::processEvents();
        QVERIFY(!undo.canRedo());
    }

    void nestedGroupsAreOneNamedStep()
    {
        UndoManager undo;
        Value v(undo);
        undo.runAsOneStep(QStringLiteral("Split"), [&] {
            v.set(1);
            undo.runAsOneStep(QStringLiteral("Inner"), [&] { v.set(2); });
            v.set(3);
        });
        QCoreApplication::processEvents();
        QCOMPARE(undo.undoActionName(), QStringLiteral("Split"));
        undo.undo();
        QCOMPARE(v.value, 0);
        QCOMPARE(undo.redoActionName(), QStringLiteral("Split"));
        undo.redo();
        QCOMPARE(std::pair(v.value, undo.undoActionName()), std::pair(3, QStringLiteral("Split")));
    }

    void cleanStateFollowsUndoAndRedo()
    {
        UndoManager undo;
        Value v(undo);
        QSignalSpy cleanChanges(&undo, &UndoManager::cleanChanged);
        v.set(1);
        QVERIFY(!undo.isClean()); // before the event ends
        undo.setClean(); // saved
        v.set(2);
        QCoreApplication::processEvents();
        QList<bool> clean;
        for (auto step : {&UndoManager::undo, &UndoManager::undo, &UndoManager::redo, &UndoManager::undo}) {
            (undo.*step)();
            clean.append(undo.isClean());
        }
        QCOMPARE(clean, (QList<bool>{true, false, true, false})); // the saved state is one step back
        v.set(4); // the saved state is now out of reach
        QCoreApplication::processEvents();
        undo.undo();
        QVERIFY(!undo.isClean());
        QCOMPARE(cleanChanges.count(), 7);
    }
};

QTEST_GUILESS_MAIN(tst_UndoManager)
#include "tst_undomanager.moc"
