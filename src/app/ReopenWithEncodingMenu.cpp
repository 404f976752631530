#include "app/ReopenWithEncodingMenu.h"

#include "app/Document.h"
#include "app/DocumentController.h"
#include "app/TextEncoding.h"

ReopenWithEncodingMenu::ReopenWithEncodingMenu(Document *document, QWidget *parent)
    : QMenu(tr("Reopen with &Encoding"), parent)
    , m_document(document)
{
    // Built when shown: the checked entry follows the document.
    connect(this, &QMenu::aboutToShow, this, &ReopenWithEncodingMenu::rebuild);
    rebuild();
}

void ReopenWithEncodingMenu::rebuild()
{
    clear();
    const bool hasFile = !m_document->filePath().isEmpty();
    bool unicode = true;
    for (const TextEncoding::Entry &entry : TextEncoding::all()) {
        if (!entry.common)
            continue;
        const bool isUnicode = entry.displayName.startsWith(TextEncoding::tr("Unicode"));
        if (unicode && !isUnicode)
            addSeparator();
        unicode = isUnicode;
        QAction *action = addAction(entry.displayName);
        action->setCheckable(true);
        action->setChecked(m_document->encoding() == entry.number);
        action->setEnabled(hasFile);
        const int number = entry.number;
        connect(action, &QAction::triggered, this, [this, number] {
            DocumentController::shared()->reopenWithEncoding(m_document, number);
        });
    }
}
