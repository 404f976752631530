#include "app/lifecycle/DocumentController.h"

#include "app/lifecycle/Autosaver.h"
#include "app/lifecycle/DialogFolder.h"
#include "app/lifecycle/DocumentSaver.h"
#include "app/window/DocumentWindow.h"
#include "app/window/EncodingView.h"
#include "app/window/EncodingsPopupButton.h"
#include "app/lifecycle/FrameRateQuestion.h"
#include "app/lifecycle/OpenDocument.h"
#include "app/lifecycle/RecoveryDialog.h"
#include "app/lifecycle/RecoveryStore.h"
#include "app/lifecycle/RepairOffer.h"
#include "app/lifecycle/RepairsWindow.h"
#include "app/preferences/SettingsFile.h"
#include "app/window/SubtitleFormatFilters.h"
#include "app/preferences/SettingsSeeder.h"
#include "document/DiskChangeGuard.h"
#include "document/Document.h"
#include "document/OpenFileLock.h"
#include "document/TextEncoding.h"

#include "BuildInfo.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QScopeGuard>
#include <QSettings>
#include <QTimer>

#include <algorithm>
#include <future>

namespace {

QString sessionKey()
{
    return QStringLiteral("session/documents");
}

} // namespace

DocumentController::DocumentController(QObject *parent)
    : QObject(parent)
{
    QSettings settings;
    SettingsFile::makeOwn(settings.fileName());
    SettingsSeeder::seed(settings, SettingsSeeder::builtInDefaults(), CUEWRIGHT_BUILD_NUMBER);
}

DocumentController::~DocumentController()
{
    // Whatever ended the event loop (a signal among others), the documents close as a
    // closed window's do.
    while (!m_open.empty())
        retire(*m_open.back());
    destroyRetired();
}

QList<Document *> DocumentController::documents() const
{
    QList<Document *> documents;
    for (const std::unique_ptr<OpenDocument> &open : m_open)
        documents.append(&open->document());
    return documents;
}

DocumentWindow *DocumentController::windowOf(const Document *document) const
{
    OpenDocument *open = find(document);
    return open ? &open->window() : nullptr;
}

OpenDocument *DocumentController::find(const Document *document) const
{
    for (const std::unique_ptr<OpenDocument> &open : m_open) {
        if (&open->document() == document)
            return open.get();
    }
    return nullptr;
}

OpenDocument &DocumentController::adopt(std::unique_ptr<Document> document)
{
    Document *shown = document.get();
    m_open.push_back(std::make_unique<OpenDocument>(std::move(document), *this));
    OpenDocument &open = *m_open.back();
    connect(&open.autosaver(), &Autosaver::protectionFailed, shown, [this, shown](const QString &message) {
        QMessageBox::warning(windowOf(shown), tr("Unsaved Work Is Not Protected"),
                             tr("Your changes to “%1” cannot be kept for recovery after a crash. Save them soon.\n%2")
                                 .arg(shown->displayName(), message));
    });
    if (m_changeSettleMilliseconds)
        open.guard().setSettleDelay(*m_changeSettleMilliseconds);
    connect(&open.guard(), &DiskChangeGuard::changedOnDisk, shown, [this, shown] { askAboutChangeOnDisk(shown); });
    open.window().show();
    return open;
}

void DocumentController::retire(OpenDocument &open)
{
    const auto found = std::find_if(m_open.begin(), m_open.end(), [&open](const auto &held) { return held.get() == &open; });
    if (found == m_open.end())
        return;
    m_retired.push_back(std::move(*found));
    m_open.erase(found);
    // A visible window torn down hands its focus around and commits open editors into a
    // half-destroyed window.
    open.window().hide();
    QMetaObject::invokeMethod(this, &DocumentController::destroyRetired, Qt::QueuedConnection);
}

void DocumentController::destroyRetired()
{
    // One at a time: a window going down may still reach the controller.
    while (!m_retired.empty()) {
        std::unique_ptr<OpenDocument> open = std::move(m_retired.back());
        m_retired.pop_back();
    }
}

Document *DocumentController::newDocument()
{
    auto document = std::make_unique<Document>();
    document->setUntitledNumber(++m_untitledCount);
    document->subtitleController().setSubtitles({Subtitle::create(tr("A new beginning."), 3.0, 8.0)});
    return &adopt(std::move(document)).document();
}

Document *DocumentController::openDocument(const QString &path, QWidget *alertParent, int encoding)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // Taken before reading: a change in between then shows as a change at the next save.
    // The digest is taken while the file is read, on a thread of its own: for a big file
    // it costs as much as a core's share of the reading.
    const FileIdentity identity = FileIdentity::withoutDigest(absolute);
    std::future<FileIdentity> digested = std::async(std::launch::async, [absolute] { return FileIdentity::of(absolute); });
    if (OpenDocument *open = openForFile(absolute, identity)) {
        open->window().raise();
        open->window().activateWindow();
        return &open->document();
    }
    // Work a crash left unsaved on this file comes first: the file lacks it.
    if (Document *recovered = offerRecoveryOf(absolute, identity, alertParent))
        return recovered;
    auto document = std::make_unique<Document>();
    if (const auto rate = FrameRateQuestion::askFor(absolute, alertParent))
        document->setFrameRate(*rate);
    QList<TolerantSubtitleReader::Repair> repairs;
    qsizetype unlistedRepairs = 0;
    const RepairOffer::Outcome outcome =
        RepairOffer::read(document.get(), absolute, encoding, alertParent, repairs, unlistedRepairs);
    if (outcome == RepairOffer::Outcome::Refused)
        return nullptr;
    document->setFilePath(absolute);
    m_recentFiles.note(absolute);
    OpenDocument &open = adopt(std::move(document));
    open.guard().rememberAs(absolute, digested.get().confirmedAt(absolute));
    if (!open.lock().acquire(absolute)) {
        QMessageBox::information(
            &open.window(), tr("Open in Another Window"),
            tr("“%1” is also open in another Cuewright (process %2). Saving in either asks before writing over "
               "what the other saved.")
                .arg(open.document().displayName())
                .arg(open.lock().otherOwner()));
    }
    if (outcome == RepairOffer::Outcome::Repaired)
        showRepairs(open, repairs, unlistedRepairs);
    return &open.document();
}

void DocumentController::showRepairs(OpenDocument &open, const QList<TolerantSubtitleReader::Repair> &repairs,
                                     qsizetype unlistedRepairs)
{
    open.document().undoManager().setCleanUnreachable(); // the file on disk lacks the repairs
    (new RepairsWindow(open.document().displayName(), repairs, unlistedRepairs, &open.window()))->show();
}

bool DocumentController::reread(OpenDocument &open, int encoding)
{
    Document &document = open.document();
    QList<TolerantSubtitleReader::Repair> repairs;
    qsizetype unlistedRepairs = 0;
    const FileIdentity identity = FileIdentity::of(document.filePath());
    const RepairOffer::Outcome outcome =
        RepairOffer::read(&document, document.filePath(), encoding, &open.window(), repairs, unlistedRepairs);
    if (outcome == RepairOffer::Outcome::Refused)
        return false;
    open.guard().rememberAs(document.filePath(), identity);
    document.undoManager().removeAllActions();
    document.undoManager().setClean();
    document.setSelectedSubtitleIndexes({});
    if (outcome == RepairOffer::Outcome::Repaired)
        showRepairs(open, repairs, unlistedRepairs);
    return true;
}

void DocumentController::reopenWithEncoding(Document *document, int encoding)
{
    OpenDocument *open = find(document);
    if (!open || document->filePath().isEmpty())
        return;
    if (document->isModified()) {
        const auto answer = QMessageBox::question(
            &open->window(), tr("Reopen with Encoding"),
            tr("Do you want to reopen “%1” as %2? Your current changes will be lost.")
                .arg(document->displayName(), TextEncoding::displayName(encoding)),
            QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer != QMessageBox::Discard)
            return;
    }
    if (reread(*open, encoding))
        saveSession();
}

void DocumentController::showOpenDialog(QWidget *parent)
{
    QFileDialog dialog(parent, tr("Open Subtitles"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(SubtitleFormatFilters::forOpening());
    const auto *window = qobject_cast<const DocumentWindow *>(parent);
    dialog.setDirectory(window ? window->dialogFolder() : DialogFolder::startFor(QString(), QString()));
    // Every Open starts at Automatic; a choice here is for these files only.
    const EncodingsPopupButton *chooser = EncodingView::addTo(&dialog)->popupButton();
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int encoding = chooser->selectedEncoding().value_or(TextEncoding::Automatic);
    if (!dialog.selectedFiles().isEmpty())
        DialogFolder::remember(dialog.selectedFiles().constFirst());
    for (const QString &path : dialog.selectedFiles())
        openDocument(path, parent, encoding);
}

OpenDocument *DocumentController::openForFile(const QString &path, const FileIdentity &identity) const
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (const std::unique_ptr<OpenDocument> &open : m_open) {
        const QString filePath = open->document().filePath();
        if (filePath.isEmpty())
            continue;
        // A symlink or a hard link reaches the same file under another name.
        if (filePath == path || open->guard().known().isSameFileAs(identity)
            || (!canonical.isEmpty() && QFileInfo(filePath).canonicalFilePath() == canonical))
            return open.get();
    }
    return nullptr;
}

bool DocumentController::save(Document *document)
{
    OpenDocument *open = find(document);
    return open && DocumentSaver(*open, m_recentFiles).save();
}

bool DocumentController::saveAs(Document *document)
{
    OpenDocument *open = find(document);
    return open && DocumentSaver(*open, m_recentFiles).saveAs();
}

void DocumentController::askAboutChangeOnDisk(Document *document)
{
    // Never on top of another question; ask once that one is answered.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(m_questionPutOffMilliseconds, document, [this, document] { askAboutChangeOnDisk(document); });
        return;
    }
    // A document closing already has nothing more to ask.
    if (OpenDocument *open = find(document))
        DocumentSaver(*open, m_recentFiles).askAboutChangeOnDisk();
}

void DocumentController::setChangeOnDiskDelays(int settleMilliseconds, int putOffMilliseconds)
{
    m_changeSettleMilliseconds = settleMilliseconds;
    m_questionPutOffMilliseconds = putOffMilliseconds;
}

void DocumentController::revertToSaved(Document *document)
{
    OpenDocument *open = find(document);
    if (!open || document->filePath().isEmpty())
        return;
    const auto answer = QMessageBox::question(
        &open->window(), tr("Revert to Saved"),
        tr("Do you want to revert “%1” to the last saved version? Your current changes will be lost.")
            .arg(document->displayName()),
        QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Discard)
        return;
    // In the encoding it has, not as detection might guess it now.
    reread(*open, document->encoding().value_or(TextEncoding::Automatic));
}

bool DocumentController::closeDocument(Document *document)
{
    OpenDocument *open = find(document);
    if (!open)
        return true;
    const QPointer<Document> asked(document);
    if (!DocumentSaver(*open, m_recentFiles).askToSaveBeforeClosing())
        return false;
    // The question may have waited through anything, a quit included.
    open = asked ? find(asked) : nullptr;
    if (!open)
        return true;
    // Gone at once: work the user chose not to keep is not offered again as if the
    // program had crashed.
    open->autosaver().discard();
    retire(*open);
    saveSession();
    return true;
}

bool DocumentController::quit()
{
    // Each question may wait through anything, another window closing included.
    const QList<Document *> asking = documents();
    const QList<QPointer<Document>> documents(asking.begin(), asking.end());
    for (const QPointer<Document> &document : documents) {
        OpenDocument *open = document ? find(document) : nullptr;
        if (open && !DocumentSaver(*open, m_recentFiles).askToSaveBeforeClosing())
            return false;
    }
    saveSession();
    // Before the windows are torn down, which may take long or fail.
    for (const std::unique_ptr<OpenDocument> &open : m_open)
        open->autosaver().discard();
    while (!m_open.empty())
        retire(*m_open.back());
    QApplication::quit();
    return true;
}

void DocumentController::keepUnsavedWork()
{
    for (const std::unique_ptr<OpenDocument> &open : m_open)
        open->autosaver().keepForRecovery();
    saveSession();
}

void DocumentController::saveSession()
{
    QVariantList session;
    for (const std::unique_ptr<OpenDocument> &open : m_open) {
        const Document &document = open->document();
        if (document.filePath().isEmpty())
            continue;
        QVariantMap entry = open->window().saveState();
        entry.insert(QStringLiteral("path"), document.filePath());
        if (document.encoding())
            entry.insert(QStringLiteral("encoding"), *document.encoding());
        session.append(entry);
    }
    QSettings().setValue(sessionKey(), session);
}

bool DocumentController::restoreSession()
{
    const QVariantList session = QSettings().value(sessionKey()).toList();
    bool restored = false;
    m_restoringSession = true;
    const auto restoring = qScopeGuard([this] { m_restoringSession = false; });
    for (const QVariant &value : session) {
        const QVariantMap entry = value.toMap();
        const QString path = entry.value(QStringLiteral("path")).toString();
        if (!QFileInfo::exists(path))
            continue; // gone since: skipped quietly
        // Recovered at this start: the window shows the work as it was at the crash, not
        // as the session before it left the file.
        if (openForFile(QFileInfo(path).absoluteFilePath(), FileIdentity()))
            continue;
        // Read as it was last time, not as detection might guess today.
        const int encoding = entry.value(QStringLiteral("encoding"), TextEncoding::Automatic).toInt();
        if (DocumentWindow *window = windowOf(openDocument(path, nullptr, encoding))) {
            window->restoreState(entry);
            restored = true;
        }
    }
    return restored;
}

bool DocumentController::offerRecovery(QWidget *parent)
{
    // Only work whose process is gone; a running instance keeps its own.
    const QList<RecoveryStore::Entry> entries = RecoveryStore().claimOrphans();
    return !entries.isEmpty() && !decideAbout(entries, parent).isEmpty();
}

Document *DocumentController::offerRecoveryOf(const QString &path, const FileIdentity &identity, QWidget *parent)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    QList<RecoveryStore::Entry> entries;
    for (const RecoveryStore::Entry &entry : RecoveryStore().claimOrphans()) {
        // Put off at this start already: the session reopens the file without asking again.
        if (m_restoringSession && m_deferredRecovery.contains(entry.id))
            continue;
        if (!entry.originalPath.isEmpty()
            && (entry.originalPath == path || (identity.exists() && entry.base.isSameFileAs(identity))
                || (!canonical.isEmpty() && QFileInfo(entry.originalPath).canonicalFilePath() == canonical)))
            entries.append(entry);
    }
    if (entries.isEmpty())
        return nullptr;
    const QList<Document *> recovered = decideAbout(entries, parent);
    return recovered.isEmpty() ? nullptr : recovered.first();
}

QList<Document *> DocumentController::decideAbout(const QList<RecoveryStore::Entry> &entries, QWidget *parent)
{
    const RecoveryDialog::Choice choice = RecoveryDialog::choose(entries, parent);
    RecoveryStore store;
    QSet<QString> decided;
    for (const RecoveryStore::Entry &entry : choice.discard) {
        store.remove(entry.id);
        decided.insert(entry.id);
    }
    QList<Document *> recovered;
    for (const RecoveryStore::Entry &entry : choice.recover) {
        decided.insert(entry.id);
        if (Document *document = recover(entry, parent))
            recovered.append(document);
    }
    for (const RecoveryStore::Entry &entry : entries) {
        if (!decided.contains(entry.id))
            m_deferredRecovery.insert(entry.id);
    }
    return recovered;
}

Document *DocumentController::recover(const RecoveryStore::Entry &entry, QWidget *parent)
{
    auto text = RecoveryStore::readText(entry);
    if (!text) {
        QMessageBox::warning(parent, tr("Cannot recover"), text.error());
        return nullptr;
    }
    FormatReading contents = std::move(text).value();
    auto document = std::make_unique<Document>();
    document->setRecovered(std::move(contents.subtitles), entry.encoding, entry.subtitleFormat, std::move(contents.keep),
                           entry.fileFormat);
    if (entry.originalPath.isEmpty())
        document->setUntitledNumber(++m_untitledCount);
    else
        document->setFilePath(entry.originalPath);
    OpenDocument &open = adopt(std::move(document));
    open.autosaver().adoptEntry(entry);
    // Saving checks the file against what it was when this work began.
    if (!entry.originalPath.isEmpty())
        open.guard().rememberAs(entry.originalPath, entry.base);
    // As the window showed it: its video, position, zoom and selection.
    open.window().restoreState(entry.windowState);
    if (contents.repairs.isEmpty())
        open.document().undoManager().setCleanUnreachable(); // the file on disk lacks this work
    else
        showRepairs(open, contents.repairs);
    return &open.document();
}
