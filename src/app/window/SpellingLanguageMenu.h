#pragma once

#include <QObject>
#include <QPointer>

class Document;
class QActionGroup;
class QMenu;
class Spelling;

// View ▸ Spelling Language: None or one of the installed dictionaries, for one document.
// The choice is remembered for the document's file, and the last one chosen is where a
// new document starts (else the system's language, when there is a dictionary for it).
class SpellingLanguageMenu : public QObject
{
    Q_OBJECT

public:
    SpellingLanguageMenu(Spelling *spelling, Document *document, QMenu *parentMenu);

    QMenu *menu() const { return m_menu; }
    // Chooses a language as the menu does ("" for none) and remembers it.
    void choose(const QString &language);

private:
    void rememberedLanguageToSpelling();
    void apply(const QString &language, bool chosenByUser);
    void updateChecks();

    QPointer<Spelling> m_spelling;
    QPointer<Document> m_document;
    QMenu *m_menu;
    QActionGroup *m_group;
};
