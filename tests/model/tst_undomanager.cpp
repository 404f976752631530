#include "model/UndoManager.h"

#include <QSignalSpy>
#include <QTest>

// A value that registers its own inverse, as the subtitle controller does.
class Value
{
public:
    explicit Value(UndoManager &undo, UndoManager::Scope scope = UndoManager::Scope::File)
        : m_undo(undo), m_scope(scope) {}
    void set(int newValue)
    {
        m_undo.registerUndo([this, old = value] { set(old); }, m_scope);
        value = newValue;
    }
    int value = 0;

private:
    UndoManager &m_undo;
    UndoManager::Scope m_scope;
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
        // Later in the same event, a fix that found nothing to change names nothing.
        undo.runAsOneStep(QStringLiteral("Fix"), [] {});
        QCoreApplication::processEvents();
        QCOMPARE(undo.undoActionName(), QStringLiteral("Split"));
        undo.undo();
        QCOMPARE(v.value, 0);
        QCOMPARE(undo.redoActionName(), QStringLiteral("Split"));
        undo.redo();
        QCOMPARE(std::pair(v.value, undo.undoActionName()), std::pair(3, QStringLiteral("Split")));
    }

    // Steps, one per event: f changes the file, o only what lies outside it (a shot
    // change), b both at once; s saves, u undoes, r redoes. After each, c: clean, m: modified.
    void cleanStateFollowsUndoAndRedo_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file changes") << "fsfuuru" "fu" << "mcmcmcm" "mm"; // the new change drops the saved state
        QTest::newRow("outside steps and their undo keep the document saved") << "osouurfuo" << "ccccccmcc";
        QTest::newRow("an outside step made after undoing past the save drops it") << "fsuor" << "mcmmm";
        QTest::newRow("a step that changes both is a change") << "bsuro" << "mcmcc";
    }

    void cleanStateFollowsUndoAndRedo()
    {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        UndoManager undo;
        Value file(undo);
        Value outside(undo, UndoManager::Scope::OutsideFile);
        QSignalSpy cleanChanges(&undo, &UndoManager::cleanChanged);
        QString seen;
        for (QChar step : steps) {
            if (step == u'f' || step == u'b')
                file.set(file.value + 1);
            if (step == u'o' || step == u'b')
                outside.set(outside.value + 1);
            if (step == u's')
                undo.setClean();
            if (step == u'u')
                undo.undo();
            if (step == u'r')
                undo.redo();
            seen.append(undo.isClean() ? u'c' : u'm'); // before the event ends
            QCoreApplication::processEvents();
        }
        QCOMPARE(seen, expected);
        int transitions = 0;
        for (qsizetype i = 0; i < expected.size(); ++i)
            transitions += expected[i] != (i == 0 ? u'c' : expected[i - 1]);
        QCOMPARE(cleanChanges.count(), transitions);
        // Undoing everything gives back the start.
        while (undo.canUndo())
            undo.undo();
        QCOMPARE(std::pair(file.value, outside.value), std::pair(0, 0));
    }
};

QTEST_GUILESS_MAIN(tst_UndoManager)
#include "tst_undomanager.moc"
