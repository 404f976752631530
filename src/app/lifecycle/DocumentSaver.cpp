#include "app/lifecycle/DocumentSaver.h"

#include "app/lifecycle/DialogFolder.h"
#include "app/lifecycle/DocumentController.h"
#include "app/window/DocumentWindow.h"
#include "app/window/EncodingView.h"
#include "app/window/EncodingsPopupButton.h"
#include "app/window/FileFormatChooser.h"
#include "app/lifecycle/OpenDocument.h"
#include "app/lifecycle/RecentFiles.h"
#include "app/window/SubtitleFormatFilters.h"
#include "document/DiskChangeGuard.h"
#include "document/Document.h"
#include "document/OpenFileLock.h"
#include "document/SaveTarget.h"
#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "format/SubtitleFormatIo.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

#include <optional>

// The texts keep the controller's translation context, where they were first translated.
DocumentSaver::DocumentSaver(OpenDocument &open, RecentFiles &recentFiles)
    : m_open(open)
    , m_recentFiles(recentFiles)
{
}

bool DocumentSaver::askToSaveBeforeClosing()
{
    Document &document = m_open.document();
    if (!document.isModified())
        return true;
    DocumentWindow &window = m_open.window();
    window.raise();
    window.activateWindow();
    QMessageBox box(QMessageBox::Warning, DocumentController::tr("Save Changes"),
                    DocumentController::tr("Do you want to save the changes you made to “%1”?").arg(document.displayName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &window);
    box.setInformativeText(DocumentController::tr("Your changes will be lost if you don’t save them."));
    box.button(QMessageBox::Discard)->setText(DocumentController::tr("Don’t Save"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool DocumentSaver::save()
{
    Document &document = m_open.document();
    // A file in a format the program only reads is saved in one it writes, under a new name.
    if (document.filePath().isEmpty() || !SubtitleFormat::isWritable(document.subtitleFormat()))
        return saveAs();
    if (m_open.guard().hasChangedOnDisk()) {
        QMessageBox box(QMessageBox::Warning, DocumentController::tr("File Changed on Disk"),
                        DocumentController::tr("“%1” was changed by another program since you opened or saved it.").arg(document.displayName()),
                        QMessageBox::NoButton, &m_open.window());
        box.setInformativeText(DocumentController::tr("Do you want to overwrite those changes with yours, or reload the file and "
                                  "drop yours (you can undo the reload)?"));
        QPushButton *overwrite = box.addButton(DocumentController::tr("Overwrite"), QMessageBox::DestructiveRole);
        QPushButton *reload = box.addButton(DocumentController::tr("Reload"), QMessageBox::AcceptRole);
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Cancel);
        box.exec();
        if (box.clickedButton() == reload)
            reloadFromDisk();
        if (box.clickedButton() != overwrite)
            return false;
    }
    return write(document.filePath(), std::nullopt);
}

bool DocumentSaver::saveAs()
{
    Document *document = &m_open.document();
    QFileDialog dialog(&m_open.window(), DocumentController::tr("Save Subtitles"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The document's own format is offered first; a format only read offers SRT.
    const SubtitleFormat::Id current =
        SubtitleFormat::isWritable(document->subtitleFormat()) ? document->subtitleFormat() : SubtitleFormat::Srt;
    dialog.setNameFilters(SubtitleFormatFilters::forSaving());
    dialog.selectNameFilter(SubtitleFormatFilters::filter(current));
    dialog.setDefaultSuffix(SubtitleFormat::extensions(current).first());
    const QString suffix = QStringLiteral(".") + SubtitleFormat::extensions(current).first();
    // A bare name would be taken in the program's working folder.
    const QDir folder(m_open.window().dialogFolder());
    if (!document->filePath().isEmpty()) {
        const QFileInfo file(document->filePath());
        dialog.selectFile(SubtitleFormat::isWritable(document->subtitleFormat())
                              ? document->filePath()
                              : folder.filePath(file.completeBaseName() + suffix));
    } else {
        dialog.selectFile(folder.filePath(document->displayName() + suffix));
    }
    EncodingView *encodingView = EncodingView::addTo(&dialog);
    // The chooser shows what the save will write; an encoding picked here wins for this
    // save, becomes the document's and the one new documents are saved in.
    std::optional<int> chosenEncoding;
    SubtitleFormat::Id chosenFormat = current;
    EncodingsPopupButton *chooser = encodingView->popupButton();
    auto *formatChooser = new FileFormatChooser(document->fileFormat(), document->encoding());
    encodingView->addChoice(formatChooser);
    // A format written in UTF-8 only offers no other encoding.
    const auto showEncoding = [&chosenEncoding, &chosenFormat, chooser, formatChooser, document] {
        const bool utf8Only = SubtitleFormat::isUtf8Only(chosenFormat);
        chooser->setEnabled(!utf8Only);
        chooser->setToolTip(utf8Only ? DocumentController::tr("%1 files are always written in UTF-8.").arg(SubtitleFormat::shortName(chosenFormat))
                                     : QString());
        const int encoding = document->encodingForSaving(chosenEncoding, chosenFormat);
        chooser->setSelectedEncoding(encoding);
        formatChooser->setEncoding(encoding);
    };
    showEncoding();
    QObject::connect(chooser, &QComboBox::activated, &dialog, [&chosenEncoding, chooser, showEncoding] {
        chosenEncoding = chooser->currentData().toInt();
        QSettings().setValue(EncodingsPopupButton::settingsKey, *chosenEncoding);
        showEncoding();
    });
    // Another format chosen: the name takes its extension.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &chosenFormat, showEncoding](const QString &filter) {
        chosenFormat = SubtitleFormatFilters::formatOf(filter).value_or(SubtitleFormat::Srt);
        const QString extension = SubtitleFormat::extensions(chosenFormat).first();
        dialog.setDefaultSuffix(extension);
        const auto edit = dialog.findChild<QLineEdit *>();
        if (edit && !edit->text().isEmpty())
            edit->setText(QFileInfo(edit->text()).completeBaseName() + u'.' + extension);
        showEncoding();
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString path = dialog.selectedFiles().first();
    DialogFolder::remember(path);
    return write(path, chosenEncoding, formatChooser->format(), SubtitleFormatFilters::formatForSaving(path, dialog.selectedNameFilter()));
}

bool DocumentSaver::acceptLosses(const QString &path, SubtitleFormat::Id subtitleFormat)
{
    Document &document = m_open.document();
    if (subtitleFormat == document.subtitleFormat() && subtitleFormat != SubtitleFormat::Scc)
        return true;
    const QStringList losses = SubtitleFormatIo::losses(subtitleFormat, document.subtitleController().subtitles(), document.formatKeep(),
                                                         document.frameRate());
    if (losses.isEmpty())
        return true;
    QMessageBox box(QMessageBox::Warning, DocumentController::tr("Save as %1").arg(SubtitleFormat::shortName(subtitleFormat)),
                    DocumentController::tr("%1 cannot hold everything “%2” has. Saving “%3” leaves out:")
                        .arg(SubtitleFormat::name(subtitleFormat), document.displayName(), QFileInfo(path).fileName()),
                    QMessageBox::Save | QMessageBox::Cancel, &m_open.window());
    box.setInformativeText(QStringLiteral("• ") + losses.join(QStringLiteral("\n• ")));
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Save;
}

bool DocumentSaver::write(const QString &path, std::optional<int> chosenEncoding, std::optional<TextFileFormat> chosenFormat,
                          std::optional<SubtitleFormat::Id> chosenSubtitleFormat)
{
    Document &document = m_open.document();
    QWidget *window = &m_open.window();
    if (const auto allowed = SaveTarget::check(path); !allowed) {
        QMessageBox::warning(window, DocumentController::tr("Cannot save “%1”").arg(QFileInfo(path).fileName()), allowed.error());
        return false;
    }
    // SCC loses even in its own format: a caption edited too close to the one before shows late.
    const bool scc = document.subtitleFormat() == SubtitleFormat::Scc;
    const auto checked = chosenSubtitleFormat ? chosenSubtitleFormat : scc ? std::optional(SubtitleFormat::Scc) : std::nullopt;
    if (checked && !acceptLosses(path, *checked))
        return false;
    if (const auto written = document.write(path, chosenEncoding, chosenFormat, chosenSubtitleFormat); !written) {
        const QString &error = written.error();
        const QString title = DocumentController::tr("Cannot save “%1”").arg(QFileInfo(path).fileName());
        const int encoding = document.encodingForSaving(chosenEncoding, chosenSubtitleFormat);
        if (encoding == TextEncoding::Utf8 || !SubtitleFile::firstUnencodable(document.subtitleController().subtitles(), encoding)) {
            QMessageBox::warning(window, title, error);
            return false;
        }
        // A character the encoding lacks: UTF-8 holds every one.
        QMessageBox box(QMessageBox::Warning, title, error, QMessageBox::Cancel, window);
        QPushButton *utf8 = box.addButton(DocumentController::tr("Save as UTF-8"), QMessageBox::AcceptRole);
        box.setDefaultButton(utf8);
        box.exec();
        return box.clickedButton() == utf8 && write(path, TextEncoding::Utf8, chosenFormat, chosenSubtitleFormat);
    }
    if (document.filePath() != path)
        m_open.lock().acquire(path);
    document.setFilePath(path);
    document.undoManager().setClean();
    m_open.guard().remember(path);
    m_recentFiles.note(path);
    return true;
}

void DocumentSaver::reloadFromDisk()
{
    Document &document = m_open.document();
    const QString path = document.filePath();
    const FileIdentity identity = FileIdentity::of(path);
    std::optional<QString> error;
    document.undoManager().runAsOneStep(DocumentController::tr("Reload from Disk"), [&] {
        if (const auto read = document.read(path, document.encoding().value_or(TextEncoding::Automatic),
                                            SubtitleFile::Reading::Strict, nullptr, Document::ReadMode::Undoable);
            !read)
            error = read.error();
    });
    if (error) {
        QMessageBox::warning(&m_open.window(), DocumentController::tr("Cannot reload “%1”").arg(document.displayName()),
                             *error);
        return;
    }
    // What is on screen now is what the file holds.
    document.undoManager().setClean();
    m_open.guard().rememberAs(path, identity);
}

void DocumentSaver::askAboutChangeOnDisk()
{
    Document &document = m_open.document();
    if (!m_open.guard().hasChangedOnDisk())
        return;
    QMessageBox box(QMessageBox::Question, DocumentController::tr("File Changed on Disk"),
                    DocumentController::tr("“%1” was changed by another program.").arg(document.displayName()), QMessageBox::NoButton,
                    &m_open.window());
    box.setInformativeText(document.isModified()
                               ? DocumentController::tr("Do you want to reload it? Your unsaved changes will be replaced; you can undo the reload.")
                               : DocumentController::tr("Do you want to reload it? You can undo the reload."));
    QPushButton *reload = box.addButton(DocumentController::tr("Reload"), QMessageBox::AcceptRole);
    box.addButton(DocumentController::tr("Keep My Version"), QMessageBox::RejectRole);
    box.setDefaultButton(reload);
    box.exec();
    if (box.clickedButton() == reload)
        reloadFromDisk();
}
