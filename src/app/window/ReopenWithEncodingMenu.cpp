#include "app/window/ReopenWithEncodingMenu.h"

#include "document/Document.h"
#include "document/TextEncoding.h"

ReopenWithEncodingMenu::ReopenWithEncodingMenu(Document *document, std::function<void(int encoding)> reopen,
                                               QWidget *parent)
    : QMenu(tr("Reopen with &Encoding"), parent)
    , m_document(document)
    , m_reopen(std::move(reopen))
{
    // Built when shown: the checked entry follows the document.
    connect(this, &QMenu::aboutToShow, this, &ReopenWithEncodingMenu::rebuild);
    rebuild();
}

void ReopenWithEncodingMenu::rebuild()
{
    clear();
    // The Unicode forms on top, the others in a submenu per region ("Cyrillic ▸").
    const bool hasFile = !m_document->filePath().isEmpty();
    QMenu *region = nullptr;
    for (const TextEncoding::Entry &entry : TextEncoding::all()) {
        if (!entry.common)
            continue;
        const QString regionName = entry.displayName.section(QStringLiteral(" ("), 0, 0);
        QMenu *target = this;
        if (!entry.displayName.startsWith(TextEncoding::tr("Unicode"))) {
            if (!region)
                addSeparator();
            if (!region || region->title() != regionName)
                region = addMenu(regionName);
            target = region;
        }
        QAction *action = target->addAction(entry.displayName);
        action->setCheckable(true);
        action->setChecked(m_document->encoding() == entry.number);
        action->setEnabled(hasFile);
        const int number = entry.number;
        connect(action, &QAction::triggered, this, [this, number] { m_reopen(number); });
    }
}
