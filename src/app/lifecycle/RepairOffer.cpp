#include "app/lifecycle/RepairOffer.h"

#include "document/Document.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

RepairOffer::Outcome RepairOffer::read(Document *document, const QString &path, int encoding, QWidget *alertParent,
                                       QList<TolerantSubtitleReader::Repair> &repairs, qsizetype &unlistedRepairs)
{
    return read(
        [&](SubtitleFile::Reading reading) {
            if (reading == SubtitleFile::Reading::Strict)
                return document->read(path, encoding);
            return document->read(path, encoding, reading, &repairs, Document::ReadMode::Replace, &unlistedRepairs);
        },
        path, encoding, alertParent);
}

RepairOffer::Outcome RepairOffer::read(const Reader &read, const QString &path, int encoding, QWidget *alertParent)
{
    const auto opened = read(SubtitleFile::Reading::Strict);
    if (opened)
        return Outcome::Read;
    const QString &error = opened.error();

    const QString title = tr("Cannot open “%1”").arg(QFileInfo(path).fileName());
    // A second, repairing read tells whether there is anything to offer; it fails with
    // the same message when the file is not there or not text in this encoding. Only the
    // count is kept while the alert is open, not a second copy of a large file's subtitles.
    const auto repairable = [&]() -> Expected<qsizetype, QString> {
        const auto repaired = SubtitleFile::read(path, encoding, SubtitleFile::Reading::Repairing);
        if (!repaired)
            return repaired.error();
        return repaired.value().repairs.size() + repaired.value().unlistedRepairs;
    }();
    if (!repairable) {
        QMessageBox box(QMessageBox::Warning, title, error, QMessageBox::Ok, alertParent);
        if (repairable.error() != error)
            box.setInformativeText(tr("It cannot be repaired either:\n%1").arg(repairable.error()));
        box.exec();
        return Outcome::Refused;
    }

    const qsizetype count = repairable.value();
    QMessageBox box(QMessageBox::Warning, title, error, QMessageBox::Cancel, alertParent);
    box.setInformativeText(count <= 1 ? tr("Cuewright can repair the problem and open the file. The file on disk stays as it is until you save.")
                                      : tr("Cuewright can repair %1 problems and open the file. The file on disk stays as it is until you save.").arg(count));
    QPushButton *repair = box.addButton(tr("Repair"), QMessageBox::AcceptRole);
    box.setDefaultButton(repair);
    box.exec();
    if (box.clickedButton() != repair)
        return Outcome::Refused;
    if (const auto repaired = read(SubtitleFile::Reading::Repairing); !repaired) {
        QMessageBox::warning(alertParent, title, repaired.error());
        return Outcome::Refused;
    }
    return Outcome::Repaired;
}
