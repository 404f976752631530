#include "app/commands/TranslationCommands.h"

#include "app/lifecycle/DialogFolder.h"
#include "app/window/EncodingView.h"
#include "app/window/EncodingsPopupButton.h"
#include "app/lifecycle/RepairOffer.h"
#include "app/window/SubtitleFormatFilters.h"
#include "document/Document.h"
#include "document/Preferences.h"
#include "model/timing/OriginalTimingCopy.h"
#include "player/VideoPlayerViewController.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QStatusBar>

namespace {

constexpr int messageTimeout = 10000;

} // namespace

TranslationCommands::TranslationCommands(Document *document, VideoPlayerViewController *player, QWidget *window,
                                         QStatusBar *statusBar)
    : QObject(window)
    , m_document(document)
    , m_player(player)
    , m_window(window)
    , m_statusBar(statusBar)
{
    m_player->setShowsOriginal(Preferences::showsOriginalOnVideo());
    // A session or a recovery naming an original that is gone: said, not asked about.
    connect(&document->originalSubtitles(), &OriginalSubtitles::restoreFailed, this,
            [this](const QString &message) { m_statusBar->showMessage(message, messageTimeout); });
}

void TranslationCommands::openOriginal()
{
    QFileDialog dialog(m_window, tr("Open Original"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(SubtitleFormatFilters::forOpening());
    dialog.setDirectory(DialogFolder::startFor(m_document->originalSubtitles().path().isEmpty()
                                                   ? m_document->filePath()
                                                   : m_document->originalSubtitles().path(),
                                               m_player ? m_player->videoPath() : QString()));
    const EncodingsPopupButton *chooser = EncodingView::addTo(&dialog)->popupButton();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    DialogFolder::remember(dialog.selectedFiles().constFirst());
    attachOriginal(dialog.selectedFiles().constFirst(), chooser->selectedEncoding().value_or(TextEncoding::Automatic));
}

bool TranslationCommands::attachOriginal(const QString &path, int encoding)
{
    OriginalSubtitles &original = m_document->originalSubtitles();
    const double frameRate = m_document->frameRate();
    const RepairOffer::Outcome outcome = RepairOffer::read(
        [&](SubtitleFile::Reading reading) { return original.attach(path, encoding, reading, frameRate); }, path,
        encoding, m_window);
    if (outcome == RepairOffer::Outcome::Refused)
        return false;
    const int lines = int(original.subtitles().size());
    m_statusBar->showMessage(outcome == RepairOffer::Outcome::Repaired
                                 ? tr("Original “%1” repaired and attached: %n line(s)", nullptr, lines)
                                       .arg(QFileInfo(path).fileName())
                                 : tr("Original “%1” attached: %n line(s)", nullptr, lines).arg(QFileInfo(path).fileName()),
                             messageTimeout);
    return true;
}

void TranslationCommands::closeOriginal()
{
    m_document->originalSubtitles().detach();
}

void TranslationCommands::copyTimingsFromOriginal()
{
    const OriginalSubtitles &original = m_document->originalSubtitles();
    if (!original.isAttached())
        return;
    const OriginalTimingCopy::Result result = OriginalTimingCopy::apply(
        m_document->subtitleController(), original.subtitles(), m_document->selectedSubtitleIndexes());
    QString message = tr("%n subtitle(s) timed from the original", nullptr, result.timed);
    if (result.added > 0)
        message += tr("; %n empty subtitle(s) added for the rest of it", nullptr, result.added);
    m_statusBar->showMessage(message, messageTimeout);
}

void TranslationCommands::setShowOnVideoAction(QAction *action)
{
    action->setCheckable(true);
    action->setChecked(Preferences::showsOriginalOnVideo());
    connect(action, &QAction::toggled, this, [this](bool shows) {
        Preferences::setShowsOriginalOnVideo(shows);
        m_player->setShowsOriginal(shows);
    });
}
