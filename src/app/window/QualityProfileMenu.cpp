#include "app/window/QualityProfileMenu.h"

#include "document/Document.h"
#include "document/QualitySettings.h"

#include <QActionGroup>

QualityProfileMenu::QualityProfileMenu(Document *document, QWidget *parent)
    : QMenu(tr("&Quality Profile"), parent)
    , m_document(document)
{
    connect(this, &QMenu::aboutToShow, this, &QualityProfileMenu::fill);
    fill(); // so that the window's keys and its tests see the commands before the menu opens
}

void QualityProfileMenu::fill()
{
    clear();
    auto *group = new QActionGroup(this);
    bool builtIns = true;
    for (const QualityProfile &profile : QualitySettings::shared()->profiles()) {
        if (builtIns && !profile.isBuiltIn) {
            addSeparator();
            builtIns = false;
        }
        // An ampersand in a user's name is shown, not taken as a mnemonic.
        QAction *action = addAction(QString(profile.name).replace(u'&', QStringLiteral("&&")));
        action->setCheckable(true);
        action->setChecked(m_document && profile.id == m_document->qualityProfileId());
        group->addAction(action);
        const QString id = profile.id;
        connect(action, &QAction::triggered, this, [this, id] {
            if (m_document)
                m_document->setQualityProfile(id);
        });
    }
}
