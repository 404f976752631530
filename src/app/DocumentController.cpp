#include "app/DocumentController.h"

#include "app/Autosaver.h"
#include "app/DocumentWindow.h"
#include "app/EncodingView.h"
#include "app/EncodingsPopupButton.h"
#include "app/FileFormatChooser.h"
#include "app/RecoveryDialog.h"
#include "app/RecoveryStore.h"
#include "app/RepairOffer.h"
#include "app/RepairsWindow.h"
#include "document/DiskChangeGuard.h"
#include "document/Document.h"
#include "document/OpenFileLock.h"
#include "document/Preferences.h"
#include "document/SaveTarget.h"
#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "app/SettingsFile.h"
#include "app/SettingsSeeder.h"
#include "model/Fatal.h"

#include "BuildInfo.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

namespace {

DocumentController *sharedController = nullptr;

const QString subtitleFilter()
{
    return QObject::tr("SubRip subtitles (*.srt);;All files (*)");
}

QString sessionKey()
{
    return QStringLiteral("session/documents");
}

} // namespace

DocumentController::DocumentController(QObject *parent)
    : QObject(parent)
{
    if (!sharedController)
        sharedController = this;
    QSettings settings;
    SettingsFile::makeOwn(settings.fileName());
    SettingsSeeder::seed(settings, SettingsSeeder::builtInDefaults(), CUEWRIGHT_BUILD_NUMBER);
}

DocumentController::~DocumentController()
{
    // Whatever ended the event loop (a signal among others), the windows close before
    // their documents go.
    closeAllDocuments();
    if (sharedController == this)
        sharedController = nullptr;
}

DocumentController *DocumentController::shared()
{
    if (!sharedController)
        CUEWRIGHT_FATAL("no document controller");
    return sharedController;
}

DocumentWindow *DocumentController::windowOf(const Document *document)
{
    return document ? qobject_cast<DocumentWindow *>(document->parent()) : nullptr;
}

void DocumentController::deleteDocument(Document *document)
{
    if (DocumentWindow *window = windowOf(document))
        delete window; // and the document with it
    else
        delete document;
}

Document *DocumentController::adoptDocument(Document *document)
{
    m_documents.append(document);
    // However its window goes, the document leaves the list with it.
    connect(document, &QObject::destroyed, this, [this, document] { m_documents.removeAll(document); });
    auto *autosaver = new Autosaver(document, RecoveryStore(), Preferences::autosaveDelayMilliseconds());
    autosaver->setWindowStateSource([document] {
        const DocumentWindow *window = windowOf(document);
        return window ? window->saveState() : QVariantMap();
    });
    connect(autosaver, &Autosaver::protectionFailed, document, [document](const QString &message) {
        QMessageBox::warning(windowOf(document), tr("Unsaved Work Is Not Protected"),
                             tr("Your changes to “%1” cannot be kept for recovery after a crash. Save them soon.\n%2")
                                 .arg(document->displayName(), message));
    });
    auto *guard = new DiskChangeGuard(document);
    connect(guard, &DiskChangeGuard::changedOnDisk, document, [this, document] { askAboutChangeOnDisk(document); });
    document->attachController();
    auto *window = new DocumentWindow(document);
    // The window owns its document, which outlives the panes that refer to it.
    document->setParent(window);
    window->show();
    return document;
}

Document *DocumentController::newDocument()
{
    auto *document = new Document(this);
    document->setUntitledNumber(++m_untitledCount);
    document->subtitleController().setSubtitles(
        {Subtitle::create(tr("A new beginning."), 3.0, 8.0)});
    return adoptDocument(document);
}

Document *DocumentController::openDocument(const QString &path, QWidget *alertParent, int encoding)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // Taken before reading: a change in between then shows as a change at the next save.
    const FileIdentity identity = FileIdentity::of(absolute);
    if (Document *open = documentForFile(absolute, identity)) {
        if (windowOf(open)) {
            windowOf(open)->raise();
            windowOf(open)->activateWindow();
        }
        return open;
    }
    auto *document = new Document(this);
    QList<TolerantSubtitleReader::Repair> repairs;
    qsizetype unlistedRepairs = 0;
    const RepairOffer::Outcome outcome = RepairOffer::read(document, absolute, encoding, alertParent, repairs, unlistedRepairs);
    if (outcome == RepairOffer::Outcome::Refused) {
        delete document;
        return nullptr;
    }
    document->setFilePath(absolute);
    noteRecentFile(absolute);
    adoptDocument(document);
    DiskChangeGuard::of(document)->rememberAs(absolute, identity);
    auto *lock = new OpenFileLock(document);
    if (!lock->acquire(absolute)) {
        QMessageBox::information(
            windowOf(document), tr("Open in Another Window"),
            tr("“%1” is also open in another Cuewright (process %2). Saving in either asks before writing over "
               "what the other saved.")
                .arg(document->displayName())
                .arg(lock->otherOwner()));
    }
    if (outcome == RepairOffer::Outcome::Repaired)
        showRepairs(document, repairs, unlistedRepairs);
    return document;
}

void DocumentController::showRepairs(Document *document, const QList<TolerantSubtitleReader::Repair> &repairs,
                                     qsizetype unlistedRepairs)
{
    document->undoManager().setCleanUnreachable(); // the file on disk lacks the repairs
    (new RepairsWindow(document->displayName(), repairs, unlistedRepairs, windowOf(document)))->show();
}

bool DocumentController::reread(Document *document, int encoding)
{
    QList<TolerantSubtitleReader::Repair> repairs;
    qsizetype unlistedRepairs = 0;
    const FileIdentity identity = FileIdentity::of(document->filePath());
    const RepairOffer::Outcome outcome =
        RepairOffer::read(document, document->filePath(), encoding, windowOf(document), repairs, unlistedRepairs);
    if (outcome == RepairOffer::Outcome::Refused)
        return false;
    DiskChangeGuard::of(document)->rememberAs(document->filePath(), identity);
    document->undoManager().removeAllActions();
    document->undoManager().setClean();
    document->setSelectedSubtitleIndexes({});
    if (outcome == RepairOffer::Outcome::Repaired)
        showRepairs(document, repairs, unlistedRepairs);
    return true;
}

void DocumentController::reopenWithEncoding(Document *document, int encoding)
{
    if (document->filePath().isEmpty())
        return;
    if (document->isModified()) {
        const auto answer = QMessageBox::question(
            windowOf(document), tr("Reopen with Encoding"),
            tr("Do you want to reopen “%1” as %2? Your current changes will be lost.")
                .arg(document->displayName(), TextEncoding::displayName(encoding)),
            QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer != QMessageBox::Discard)
            return;
    }
    if (reread(document, encoding))
        saveSession();
}

void DocumentController::showOpenDialog(QWidget *parent)
{
    QFileDialog dialog(parent, tr("Open Subtitles"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilter(subtitleFilter());
    // Every Open starts at Automatic; a choice here is for these files only.
    const EncodingsPopupButton *chooser = EncodingView::addTo(&dialog)->popupButton();
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int encoding = chooser->selectedEncoding().value_or(TextEncoding::Automatic);
    for (const QString &path : dialog.selectedFiles())
        openDocument(path, parent, encoding);
}

Document *DocumentController::documentForFile(const QString &path, const FileIdentity &identity) const
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (Document *document : std::as_const(m_documents)) {
        if (document->filePath().isEmpty())
            continue;
        // A symlink or a hard link reaches the same file under another name.
        const DiskChangeGuard *guard = DiskChangeGuard::of(document);
        if (document->filePath() == path || (guard && guard->known().isSameFileAs(identity))
            || (!canonical.isEmpty() && QFileInfo(document->filePath()).canonicalFilePath() == canonical))
            return document;
    }
    return nullptr;
}

bool DocumentController::writeDocument(Document *document, const QString &path, std::optional<int> chosenEncoding,
                                       std::optional<TextFileFormat> chosenFormat)
{
    if (const auto allowed = SaveTarget::check(path); !allowed) {
        QMessageBox::warning(windowOf(document), tr("Cannot save “%1”").arg(QFileInfo(path).fileName()), allowed.error());
        return false;
    }
    if (const auto written = document->write(path, chosenEncoding, chosenFormat); !written) {
        const QString &error = written.error();
        const QString title = tr("Cannot save “%1”").arg(QFileInfo(path).fileName());
        const int encoding = document->encodingForSaving(chosenEncoding);
        if (encoding == TextEncoding::Utf8 || !SubtitleFile::firstUnencodable(document->subtitleController().subtitles(), encoding)) {
            QMessageBox::warning(windowOf(document), title, error);
            return false;
        }
        // A character the encoding lacks: UTF-8 holds every one.
        QMessageBox box(QMessageBox::Warning, title, error, QMessageBox::Cancel, windowOf(document));
        QPushButton *utf8 = box.addButton(tr("Save as UTF-8"), QMessageBox::AcceptRole);
        box.setDefaultButton(utf8);
        box.exec();
        return box.clickedButton() == utf8 && writeDocument(document, path, TextEncoding::Utf8);
    }
    if (document->filePath() != path) {
        OpenFileLock *lock = OpenFileLock::of(document);
        (lock ? lock : new OpenFileLock(document))->acquire(path);
    }
    document->setFilePath(path);
    document->undoManager().setClean();
    DiskChangeGuard::of(document)->remember(path);
    noteRecentFile(path);
    return true;
}

bool DocumentController::save(Document *document)
{
    if (document->filePath().isEmpty())
        return saveAs(document);
    const DiskChangeGuard *guard = DiskChangeGuard::of(document);
    if (guard && guard->hasChangedOnDisk()) {
        QMessageBox box(QMessageBox::Warning, tr("File Changed on Disk"),
                        tr("“%1” was changed by another program since you opened or saved it.").arg(document->displayName()),
                        QMessageBox::NoButton, windowOf(document));
        box.setInformativeText(tr("Do you want to overwrite those changes with yours, or reload the file and "
                                  "drop yours (you can undo the reload)?"));
        QPushButton *overwrite = box.addButton(tr("Overwrite"), QMessageBox::DestructiveRole);
        QPushButton *reload = box.addButton(tr("Reload"), QMessageBox::AcceptRole);
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Cancel);
        box.exec();
        if (box.clickedButton() == reload)
            reloadFromDisk(document);
        if (box.clickedButton() != overwrite)
            return false;
    }
    return writeDocument(document, document->filePath(), std::nullopt);
}

void DocumentController::reloadFromDisk(Document *document)
{
    const QString path = document->filePath();
    const FileIdentity identity = FileIdentity::of(path);
    if (const auto read = document->read(path, document->encoding().value_or(TextEncoding::Automatic),
                                         SubtitleFile::Reading::Strict, nullptr, Document::ReadMode::Undoable);
        !read) {
        QMessageBox::warning(windowOf(document), tr("Cannot reload “%1”").arg(document->displayName()), read.error());
        return;
    }
    document->undoManager().setActionName(tr("Reload from Disk"));
    // What is on screen now is what the file holds.
    document->undoManager().setClean();
    DiskChangeGuard::of(document)->rememberAs(path, identity);
}

void DocumentController::askAboutChangeOnDisk(Document *document)
{
    // Never on top of another question; ask once that one is answered.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(500, document, [this, document] { askAboutChangeOnDisk(document); });
        return;
    }
    if (!m_documents.contains(document) || !DiskChangeGuard::of(document)->hasChangedOnDisk())
        return;
    QMessageBox box(QMessageBox::Question, tr("File Changed on Disk"),
                    tr("“%1” was changed by another program.").arg(document->displayName()), QMessageBox::NoButton,
                    windowOf(document));
    box.setInformativeText(document->isModified()
                               ? tr("Do you want to reload it? Your unsaved changes will be replaced; you can undo the reload.")
                               : tr("Do you want to reload it? You can undo the reload."));
    QPushButton *reload = box.addButton(tr("Reload"), QMessageBox::AcceptRole);
    box.addButton(tr("Keep My Version"), QMessageBox::RejectRole);
    box.setDefaultButton(reload);
    box.exec();
    if (box.clickedButton() == reload)
        reloadFromDisk(document);
}

bool DocumentController::saveAs(Document *document)
{
    QFileDialog dialog(windowOf(document), tr("Save Subtitles"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(subtitleFilter());
    dialog.setDefaultSuffix(QStringLiteral("srt"));
    if (!document->filePath().isEmpty())
        dialog.selectFile(document->filePath());
    else
        dialog.selectFile(document->displayName() + QStringLiteral(".srt"));
    EncodingView *encodingView = EncodingView::addTo(&dialog);
    // The chooser shows what the save will write; an encoding picked here wins for this
    // save, becomes the document's and the one new documents are saved in.
    std::optional<int> chosenEncoding;
    EncodingsPopupButton *chooser = encodingView->popupButton();
    chooser->setSelectedEncoding(document->encodingForSaving());
    auto *formatChooser = new FileFormatChooser(document->fileFormat(), document->encoding());
    formatChooser->setEncoding(document->encodingForSaving());
    encodingView->addChoice(formatChooser);
    connect(chooser, &QComboBox::activated, &dialog, [&chosenEncoding, chooser, formatChooser, document] {
        chosenEncoding = chooser->currentData().toInt();
        QSettings().setValue(EncodingsPopupButton::settingsKey, *chosenEncoding);
        formatChooser->setEncoding(document->encodingForSaving(chosenEncoding));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    return writeDocument(document, dialog.selectedFiles().first(), chosenEncoding, formatChooser->format());
}

void DocumentController::revertToSaved(Document *document)
{
    if (document->filePath().isEmpty())
        return;
    const auto answer = QMessageBox::question(
        windowOf(document), tr("Revert to Saved"),
        tr("Do you want to revert “%1” to the last saved version? Your current changes will be lost.")
            .arg(document->displayName()),
        QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Discard)
        return;
    // In the encoding it has, not as detection might guess it now.
    reread(document, document->encoding().value_or(TextEncoding::Automatic));
}

bool DocumentController::canClose(Document *document)
{
    if (!document->isModified())
        return true;
    if (windowOf(document)) {
        windowOf(document)->raise();
        windowOf(document)->activateWindow();
    }
    QMessageBox box(QMessageBox::Warning, tr("Save Changes"),
                    tr("Do you want to save the changes you made to “%1”?").arg(document->displayName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, windowOf(document));
    box.setInformativeText(tr("Your changes will be lost if you don’t save them."));
    box.button(QMessageBox::Discard)->setText(tr("Don’t Save"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save(document);
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void DocumentController::documentClosed(Document *document)
{
    if (!m_quitting) {
        // Gone at once: whatever happens while the window is torn down, work the user
        // chose not to keep is not offered again as if the program had crashed.
        if (Autosaver *autosaver = Autosaver::of(document))
            autosaver->discard();
        // The window deletes itself on closing, and its document with it.
        m_documents.removeAll(document);
        saveSession();
    }
}

bool DocumentController::quit()
{
    for (Document *document : std::as_const(m_documents)) {
        if (!canClose(document))
            return false;
    }
    saveSession();
    // Before the windows are torn down, which may take long or fail.
    for (Document *document : std::as_const(m_documents)) {
        if (Autosaver *autosaver = Autosaver::of(document))
            autosaver->discard();
    }
    closeAllDocuments();
    QApplication::quit();
    return true;
}

void DocumentController::closeAllDocuments()
{
    m_quitting = true;
    const QList<Document *> documents = m_documents;
    m_documents.clear();
    // Each window closes before it is deleted: a visible window torn down hands its
    // focus around and commits open editors into a half-destroyed window.
    for (Document *document : documents) {
        if (DocumentWindow *window = windowOf(document))
            window->close();
        deleteDocument(document);
    }
}

void DocumentController::keepUnsavedWork()
{
    for (Document *document : std::as_const(m_documents)) {
        if (Autosaver *autosaver = Autosaver::of(document))
            autosaver->keepForRecovery();
    }
    saveSession();
}

void DocumentController::saveSession()
{
    QVariantList session;
    for (Document *document : std::as_const(m_documents)) {
        if (document->filePath().isEmpty() || !windowOf(document))
            continue;
        QVariantMap entry = windowOf(document)->saveState();
        entry.insert(QStringLiteral("path"), document->filePath());
        if (document->encoding())
            entry.insert(QStringLiteral("encoding"), *document->encoding());
        session.append(entry);
    }
    QSettings().setValue(sessionKey(), session);
}

bool DocumentController::restoreSession()
{
    const QVariantList session = QSettings().value(sessionKey()).toList();
    bool restored = false;
    for (const QVariant &value : session) {
        const QVariantMap entry = value.toMap();
        const QString path = entry.value(QStringLiteral("path")).toString();
        if (!QFileInfo::exists(path))
            continue; // gone since: skipped quietly
        // Read as it was last time, not as detection might guess today.
        const int encoding = entry.value(QStringLiteral("encoding"), TextEncoding::Automatic).toInt();
        Document *document = openDocument(path, nullptr, encoding);
        if (!document)
            continue;
        windowOf(document)->restoreState(entry);
        restored = true;
    }
    return restored;
}

bool DocumentController::offerRecovery(QWidget *parent)
{
    // Only work whose process is gone; a running instance keeps its own.
    const QList<RecoveryStore::Entry> entries = RecoveryStore().claimOrphans();
    if (entries.isEmpty())
        return false;
    const RecoveryDialog::Choice choice = RecoveryDialog::choose(entries, parent);
    RecoveryStore store;
    for (const RecoveryStore::Entry &entry : choice.discard)
        store.remove(entry.id);

    bool recovered = false;
    for (const RecoveryStore::Entry &entry : choice.recover) {
        auto text = RecoveryStore::readText(entry);
        if (!text) {
            QMessageBox::warning(parent, tr("Cannot recover"), text.error());
            continue;
        }
        TolerantSubtitleReader::Result contents = std::move(text).value();
        auto *document = new Document(this);
        document->setRecovered(std::move(contents.subtitles), entry.encoding);
        if (entry.originalPath.isEmpty())
            document->setUntitledNumber(++m_untitledCount);
        else
            document->setFilePath(entry.originalPath);
        adoptDocument(document);
        Autosaver::of(document)->adoptEntry(entry);
        // Saving checks the file against what it was when this work began.
        if (!entry.originalPath.isEmpty())
            DiskChangeGuard::of(document)->rememberAs(entry.originalPath, entry.base);
        // As the window showed it: its video, position, zoom and selection.
        windowOf(document)->restoreState(entry.windowState);
        if (contents.repairs.isEmpty())
            document->undoManager().setCleanUnreachable(); // the file on disk lacks this work
        else
            showRepairs(document, contents.repairs);
        recovered = true;
    }
    return recovered;
}

void DocumentController::noteRecentFile(const QString &path)
{
    QSettings settings;
    QStringList recent = settings.value(QStringLiteral("recentFiles")).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    const int limit = Preferences::recentFilesLimit();
    while (recent.size() > limit)
        recent.removeLast();
    settings.setValue(QStringLiteral("recentFiles"), recent);
    emit recentFilesChanged();
}

QStringList DocumentController::recentFiles() const
{
    // An edited settings file may hold any number of them; the menu shows the limit.
    return QSettings().value(QStringLiteral("recentFiles")).toStringList().mid(0, Preferences::recentFilesLimit());
}

void DocumentController::clearRecentFiles()
{
    QSettings().remove(QStringLiteral("recentFiles"));
    emit recentFilesChanged();
}
