#include "app/lifecycle/InterruptedSaveQuestion.h"

#include "document/InterruptedSave.h"

#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

void InterruptedSaveQuestion::askAbout(QWidget *parent)
{
    for (const InterruptedSave &save : InterruptedSave::claim()) {
        const QString name = QFileInfo(save.path).fileName();
        QMessageBox box(QMessageBox::Warning, tr("Saving Was Cut Short"),
                        tr("Cuewright was ended while it saved “%1” (%2), so the file may hold part old, part new text.")
                            .arg(name, QLocale().toString(save.startedAt.toLocalTime(), QLocale::ShortFormat)),
                        QMessageBox::NoButton, parent);
        box.setInformativeText(tr("Its content from before that save was kept. Put it back into the file? "
                                  "Unsaved changes are offered for recovery apart from this."));
        box.setDetailedText(save.path);
        QPushButton *putBack = box.addButton(tr("Put Back"), QMessageBox::AcceptRole);
        QPushButton *discard = box.addButton(tr("Discard Kept Copy"), QMessageBox::DestructiveRole);
        box.addButton(tr("Later"), QMessageBox::RejectRole);
        box.setDefaultButton(putBack);
        box.exec();
        if (box.clickedButton() == discard) {
            save.discard();
        } else if (box.clickedButton() == putBack) {
            if (auto put = save.putBack(); !put)
                QMessageBox::warning(parent, tr("Cannot put back “%1”").arg(name), put.error());
        }
    }
}
