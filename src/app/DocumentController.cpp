#include "app/DocumentController.h"

#include "app/Autosaver.h"
#include "document/Document.h"
#include "app/DocumentWindow.h"
#include "app/EncodingView.h"
#include "app/EncodingsPopupButton.h"
#include "app/FileFormatChooser.h"
#include "app/RecoveryStore.h"
#include "app/RepairOffer.h"
#include "app/RepairsWindow.h"
#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "app/SettingsSeeder.h"
#include "model/Fatal.h"

#include "BuildInfo.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

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
    SettingsSeeder::seed(settings, SettingsSeeder::builtInDefaults(), CUEWRIGHT_BUILD_NUMBER);
}

DocumentController::~DocumentController()
{
    for (Document *document : std::as_const(m_documents))
        deleteDocument(document);
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
    const int delaySeconds = QSettings().value(QStringLiteral("autosaveDelaySeconds"), 3).toInt();
    new Autosaver(document, RecoveryStore(), std::max(1, delaySeconds) * 1000);
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
        {std::make_shared<Subtitle>(tr("A new beginning."), 3.0, 8.0)});
    return adoptDocument(document);
}

Document *DocumentController::openDocument(const QString &path, QWidget *alertParent, int encoding)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (Document *document : std::as_const(m_documents)) {
        if (document->filePath() == absolute && windowOf(document)) {
            windowOf(document)->raise();
            windowOf(document)->activateWindow();
            return document;
        }
    }
    auto *document = new Document(this);
    QList<TolerantSubtitleReader::Repair> repairs;
    const RepairOffer::Outcome outcome = RepairOffer::read(document, absolute, encoding, alertParent, repairs);
    if (outcome == RepairOffer::Outcome::Refused) {
        delete document;
        return nullptr;
    }
    document->setFilePath(absolute);
    noteRecentFile(absolute);
    adoptDocument(document);
    if (outcome == RepairOffer::Outcome::Repaired)
        showRepairs(document, repairs);
    return document;
}

void DocumentController::showRepairs(Document *document, const QList<TolerantSubtitleReader::Repair> &repairs)
{
    document->undoManager().setCleanUnreachable(); // the file on disk lacks the repairs
    (new RepairsWindow(document->displayName(), repairs, windowOf(document)))->show();
}

bool DocumentController::reread(Document *document, int encoding)
{
    QList<TolerantSubtitleReader::Repair> repairs;
    const RepairOffer::Outcome outcome = RepairOffer::read(document, document->filePath(), encoding, windowOf(document), repairs);
    if (outcome == RepairOffer::Outcome::Refused)
        return false;
    document->undoManager().removeAllActions();
    document->undoManager().setClean();
    document->setSelectedSubtitleIndexes({});
    if (outcome == RepairOffer::Outcome::Repaired)
        showRepairs(document, repairs);
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

bool DocumentController::writeDocument(Document *document, const QString &path, std::optional<int> chosenEncoding,
                                       std::optional<TextFileFormat> chosenFormat)
{
    if (auto error = document->write(path, chosenEncoding, chosenFormat)) {
        const QString title = tr("Cannot save “%1”").arg(QFileInfo(path).fileName());
        const int encoding = document->encodingForSaving(chosenEncoding);
        if (encoding == TextEncoding::Utf8 || !SubtitleFile::firstUnencodable(document->subtitleController().subtitles(), encoding)) {
            QMessageBox::warning(windowOf(document), title, *error);
            return false;
        }
        // A character the encoding lacks: UTF-8 holds every one.
        QMessageBox box(QMessageBox::Warning, title, *error, QMessageBox::Cancel, windowOf(document));
        QPushButton *utf8 = box.addButton(tr("Save as UTF-8"), QMessageBox::AcceptRole);
        box.setDefaultButton(utf8);
        box.exec();
        return box.clickedButton() == utf8 && writeDocument(document, path, TextEncoding::Utf8);
    }
    document->setFilePath(path);
    document->undoManager().setClean();
    noteRecentFile(path);
    return true;
}

bool DocumentController::save(Document *document)
{
    if (document->filePath().isEmpty())
        return saveAs(document);
    return writeDocument(document, document->filePath(), std::nullopt);
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
    m_quitting = true;
    const QList<Document *> documents = m_documents;
    m_documents.clear();
    for (Document *document : documents)
        deleteDocument(document);
    QApplication::quit();
    return true;
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
    RecoveryStore store;
    const QList<RecoveryStore::Entry> entries = store.entries();
    if (entries.isEmpty())
        return false;
    QStringList names;
    for (const RecoveryStore::Entry &entry : entries) {
        const QString name = entry.originalPath.isEmpty() ? tr("an untitled document")
                                                          : QFileInfo(entry.originalPath).fileName();
        names << tr("• %1, last changed %2").arg(name, QLocale().toString(entry.savedAt.toLocalTime(), QLocale::ShortFormat));
    }
    QMessageBox box(QMessageBox::Question, tr("Recover Unsaved Work"),
                    tr("Cuewright quit unexpectedly while you had unsaved changes. Do you want to recover them?"),
                    QMessageBox::NoButton, parent);
    box.setInformativeText(names.join(u'\n'));
    QPushButton *recover = box.addButton(tr("Recover"), QMessageBox::AcceptRole);
    box.addButton(tr("Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(recover);
    box.exec();
    if (box.clickedButton() != recover) {
        for (const RecoveryStore::Entry &entry : entries)
            store.remove(entry.id);
        return false;
    }

    bool recovered = false;
    for (const RecoveryStore::Entry &entry : entries) {
        auto *document = new Document(this);
        if (auto error = document->readRecovered(entry.recoveryPath, entry.encoding)) {
            delete document;
            QMessageBox::warning(parent, tr("Cannot recover"), *error);
            continue;
        }
        if (entry.originalPath.isEmpty())
            document->setUntitledNumber(++m_untitledCount);
        else
            document->setFilePath(entry.originalPath);
        adoptDocument(document);
        document->findChild<Autosaver *>()->adoptEntry(entry.id);
        document->undoManager().setCleanUnreachable(); // the file on disk lacks this work
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
    const int limit = settings.value(QStringLiteral("recentFilesLimit"), 10).toInt();
    while (recent.size() > limit)
        recent.removeLast();
    settings.setValue(QStringLiteral("recentFiles"), recent);
    emit recentFilesChanged();
}

QStringList DocumentController::recentFiles() const
{
    return QSettings().value(QStringLiteral("recentFiles")).toStringList();
}

void DocumentController::clearRecentFiles()
{
    QSettings().remove(QStringLiteral("recentFiles"));
    emit recentFilesChanged();
}
