#include "document/Document.h"

#include "document/Preferences.h"
#include "model/Fatal.h"
#include "document/QualitySettings.h"
#include "document/TimeFormSetting.h"
#include "document/SubtitleFile.h"
#include "format/EbuStlReader.h"
#include "document/TextEncoding.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <utility>

namespace {

// One undoable step that swaps the whole list: a reload from disk over the user's work.
void replaceSubtitlesUndoably(SubtitleController &controller, SubtitleList subtitles)
{
    UndoManager *undo = controller.undoManager();
    if (undo)
        undo->beginUndoGrouping();
    const SubtitleList previous = controller.subtitles(); // a copy: the list changes under it
    controller.removeSubtitles(previous, IndexSet::fromRange(0, int(previous.size())));
    const int count = int(subtitles.size());
    controller.insertSubtitles(subtitles, IndexSet::fromRange(0, count));
    if (undo)
        undo->endUndoGrouping();
}

} // namespace

Document::Document(QObject *parent)
    : QObject(parent)
{
    // Connected before any pane, so the problems are current when the panes hear of a change.
    connect(this, &Document::subtitlesReloaded, &m_problemIndex, &ProblemIndex::reload);
    connect(this, &Document::subtitlesInserted, &m_problemIndex, &ProblemIndex::subtitlesInserted);
    connect(this, &Document::subtitlesRemoved, &m_problemIndex, &ProblemIndex::subtitlesRemoved);
    connect(this, &Document::subtitlesUpdated, &m_problemIndex, &ProblemIndex::subtitlesUpdated);
    connect(this, &Document::subtitlesReordered, &m_problemIndex, &ProblemIndex::subtitlesReordered);
    m_qualityProfile.id = QualitySettings::shared()->defaultProfileId();
    applyQualityProfile();
    // A profile edited, imported or deleted anywhere: this document checks by it again.
    connect(QualitySettings::shared(), &QualitySettings::profilesChanged, this, &Document::applyQualityProfile);
    connect(TimeFormSetting::shared(), &TimeFormSetting::formChanged, this, &Document::timeDisplayChanged);
    connect(&m_original, &OriginalSubtitles::changed, this, [this] {
        m_problemIndex.setOriginal(m_original.pairing());
        emit restorableStateChanged();
    });
}

Document::~Document()
{
    m_subtitleController.setDelegate(nullptr);
    m_subtitleController.setUndoManager(nullptr);
}

void Document::attachController()
{
    m_subtitleController.setDelegate(this);
    m_subtitleController.setUndoManager(&m_undoManager);
    m_problemIndex.reload(); // the file was read before anyone listened
}

void Document::setPlayer(Player *player)
{
    m_player = player;
    emit playerChanged(player);
}

void Document::setFrameRate(double frameRate)
{
    if (!std::isfinite(frameRate) || frameRate < 0)
        frameRate = 0;
    if (frameRate == m_frameRate)
        return;
    m_frameRate = frameRate;
    m_subtitleController.setFrameRate(frameRate);
    m_problemIndex.setFrameRate(frameRate);
    followFrameRate();
    emit frameRateChanged(frameRate);
    emit timeDisplayChanged();
    emit restorableStateChanged();
}

void Document::setVideoFrameRate(double frameRate)
{
    m_videoTellsFrameRate = std::isfinite(frameRate) && frameRate > 0;
    if (m_videoTellsFrameRate)
        setFrameRate(frameRate);
}

void Document::followFrameRate()
{
    if (m_qualityProfileChosen || m_frameRate <= 0)
        return;
    const std::optional<QualityProfile> atRate = QualityProfile::builtInAtRate(m_qualityProfile.id, m_frameRate);
    if (!atRate || atRate->id == m_qualityProfile.id)
        return;
    m_qualityProfile.id = atRate->id;
    applyQualityProfile();
    emit qualityProfileFollowedFrameRate(tr("Checked by \"%1\", the quality profile for %2 frames a second.")
                                             .arg(m_qualityProfile.name, QLocale().toString(m_frameRate, 'g', 5)));
}

TimeDisplay Document::timeDisplay() const
{
    return TimeDisplay(TimeFormSetting::shared()->form(), m_frameRate, m_timecodeOffset);
}

void Document::setQualityProfile(const QString &id)
{
    if (id == m_qualityProfile.id && m_qualityProfileChosen)
        return;
    m_qualityProfileChosen = true;
    m_qualityProfile.id = id;
    applyQualityProfile();
    emit restorableStateChanged();
}

void Document::setLanguage(const QString &language)
{
    if (language == m_language)
        return;
    m_language = language;
    applyQualityProfile();
}

void Document::applyQualityProfile()
{
    const QualitySettings *settings = QualitySettings::shared();
    std::optional<QualityProfile> found = settings->profile(m_qualityProfile.id);
    if (!found) {
        found = settings->defaultProfile();
        m_qualityProfileChosen = false;
        emit qualityProfileMissing(tr("The quality profile \"%1\" is gone; the subtitles are checked by \"%2\".")
                                       .arg(m_qualityProfile.name.isEmpty() ? m_qualityProfile.id : m_qualityProfile.name,
                                            found->name));
    }
    const bool changed = !(*found == m_qualityProfile);
    m_qualityProfile = *found;
    m_problemIndex.setLimits(m_qualityProfile.limitsFor(m_language));
    m_subtitleController.setProfileFrameRate(m_problemIndex.limits().frameRate);
    if (changed)
        emit qualityProfileChanged();
}

void Document::setTimecodeOffset(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        seconds = 0;
    if (seconds == m_timecodeOffset)
        return;
    m_timecodeOffset = seconds;
    emit timeDisplayChanged();
    emit restorableStateChanged();
}

void Document::setSelectedSubtitleIndexes(const IndexSet &indexes)
{
    select(indexes, m_selectionSeeksVideo);
}

void Document::select(const IndexSet &requested, bool seeks)
{
    // Every pane reads the selected subtitles: a position past the list would stop them all.
    IndexSet indexes = requested;
    if (!CUEWRIGHT_EXPECT(indexes.isEmpty() || indexes.last() < m_subtitleController.count(), "selection outside the list")) {
        while (!indexes.isEmpty() && indexes.last() >= m_subtitleController.count())
            indexes.remove(indexes.last());
    }
    const IndexSet previous = m_selectedSubtitleIndexes;
    m_selectedSubtitleIndexes = indexes;
    emit selectionChanged(indexes, previous);
    emit restorableStateChanged();

    // Show the first newly selected subtitle, or the last selected one; nothing when
    // everything is selected.
    if (indexes.isEmpty() || indexes.count() >= m_subtitleController.count())
        return;
    int toShow = indexes.last();
    for (int index : indexes) {
        if (!previous.contains(index)) {
            toShow = index;
            break;
        }
    }
    emit showSubtitleRequested(toShow);
    if (seeks)
        seekPausedVideoTo(toShow);
}

void Document::showSubtitle(int index)
{
    emit showSubtitleRequested(index);
    if (m_selectionSeeksVideo)
        seekPausedVideoTo(index);
}

void Document::seekPausedVideoTo(int index)
{
    if (index >= 0 && index < m_subtitleController.count())
        emit seekPausedVideoRequested(m_subtitleController.at(index)->start);
}

void Document::didReloadSubtitles(SubtitleController &)
{
    emit subtitlesReloaded();
    emit subtitlesChanged();
}

void Document::didUpdateSubtitles(SubtitleController &, const IndexSet &indexes,
                                  const QList<SubtitleIndexUpdate> &indexUpdates, const IndexSet &newIndexes)
{
    // Known before the panes hear of the change: a table following moved rows may
    // select them meanwhile.
    const bool keepsSelection = indexes == m_selectedSubtitleIndexes;
    emit subtitlesUpdated(indexes, indexUpdates, newIndexes);
    emit subtitlesChanged();
    selectUpdated(newIndexes, keepsSelection);
}

void Document::didReorderSubtitles(SubtitleController &, const IndexSet &indexes,
                                   const std::vector<int> &newPositions, const IndexSet &newIndexes)
{
    const bool keepsSelection = indexes == m_selectedSubtitleIndexes;
    emit subtitlesReordered(indexes, newPositions, newIndexes);
    emit subtitlesChanged();
    selectUpdated(newIndexes, keepsSelection);
}

// Positions before an update name subtitles: when the update's positions were the
// selection, it changed the very subtitles selected, and selecting them where they now
// are is no new selection. Setting a time from a paused video must leave it where it is;
// the panes still follow a subtitle that moved out of view.
void Document::selectUpdated(const IndexSet &newIndexes, bool keepsSelection)
{
    select(newIndexes, m_selectionSeeksVideo && !keepsSelection);
}

void Document::didInsertSubtitles(SubtitleController &, const IndexSet &indexes)
{
    emit subtitlesInserted(indexes);
    emit subtitlesChanged();
    setSelectedSubtitleIndexes(indexes);
}

void Document::didRemoveSubtitles(SubtitleController &controller, const SubtitleList &subtitles,
                                  const IndexSet &indexes)
{
    emit subtitlesRemoved(subtitles, indexes);
    emit subtitlesChanged();
    const int first = indexes.isEmpty() ? 0 : indexes.first();
    const int remaining = controller.count();
    if (first < remaining)
        setSelectedSubtitleIndexes(IndexSet(first));
    else if (remaining > 0)
        setSelectedSubtitleIndexes(IndexSet(remaining - 1));
    else
        setSelectedSubtitleIndexes(IndexSet());
}

void Document::setFilePath(const QString &path)
{
    m_filePath = path;
    emit filePathChanged();
}

QString Document::displayName() const
{
    if (!m_filePath.isEmpty())
        return QFileInfo(m_filePath).fileName();
    return m_untitledNumber > 1 ? tr("Untitled %1").arg(m_untitledNumber) : tr("Untitled");
}

Expected<void, QString> Document::read(const QString &path, int encoding, SubtitleFile::Reading reading,
                                       QList<TolerantSubtitleReader::Repair> *repairs, ReadMode mode,
                                       qsizetype *unlistedRepairs)
{
    auto result = SubtitleFile::read(path, encoding, reading, m_frameRate);
    if (!result)
        return result.error();
    SubtitleFile::Contents contents = std::move(result).value();
    m_encoding = contents.encoding;
    m_consideredEncodings = std::move(contents.consideredEncodings);
    m_fileFormat = contents.format;
    m_subtitleFormat = contents.subtitleFormat;
    m_formatKeep = std::move(contents.keep);
    // An EBU-STL file's times count from its programme's start, which the panes show them from.
    if (m_formatKeep) {
        if (const auto start = EbuStlReader::timecodeOffset(*m_formatKeep))
            setTimecodeOffset(*start);
        if (const auto rate = EbuStlReader::frameRate(*m_formatKeep); rate && m_frameRate <= 0)
            setFrameRate(*rate);
    }
    if (repairs)
        *repairs = std::move(contents.repairs);
    if (unlistedRepairs)
        *unlistedRepairs = contents.unlistedRepairs;
    if (mode == ReadMode::Undoable)
        replaceSubtitlesUndoably(m_subtitleController, std::move(contents.subtitles));
    else
        m_subtitleController.setSubtitles(std::move(contents.subtitles));
    emit encodingChanged();
    return {};
}

void Document::acceptEncoding()
{
    if (m_consideredEncodings.isEmpty())
        return;
    m_consideredEncodings.clear();
    emit encodingChanged();
}

void Document::setRecovered(SubtitleList subtitles, std::optional<int> encoding, SubtitleFormat::Id subtitleFormat,
                            std::shared_ptr<const FormatKeep> keep, TextFileFormat fileFormat)
{
    m_encoding = encoding;
    m_consideredEncodings.clear();
    m_fileFormat = fileFormat;
    m_subtitleFormat = subtitleFormat;
    m_formatKeep = std::move(keep);
    m_subtitleController.setSubtitles(std::move(subtitles));
    emit encodingChanged();
}

int Document::encodingForSaving(std::optional<int> chosenEncoding, std::optional<SubtitleFormat::Id> subtitleFormat) const
{
    const int setting = Preferences::saveEncoding();
    return SubtitleFile::encodingFor(subtitleFormat.value_or(m_subtitleFormat),
                                     SubtitleFile::encodingForSaving(m_encoding, setting, chosenEncoding));
}

Expected<void, QString> Document::write(const QString &path, std::optional<int> chosenEncoding,
                                        std::optional<TextFileFormat> chosenFormat,
                                        std::optional<SubtitleFormat::Id> chosenSubtitleFormat)
{
    // A format the program only reads is saved as SRT.
    SubtitleFormat::Id subtitleFormat = chosenSubtitleFormat.value_or(m_subtitleFormat);
    if (!SubtitleFormat::isWritable(subtitleFormat))
        subtitleFormat = SubtitleFormat::Srt;
    const int encoding = encodingForSaving(chosenEncoding, subtitleFormat);
    const TextFileFormat format = chosenFormat.value_or(m_fileFormat.forWriting(m_encoding, encoding));
    SubtitleFile::Layout layout(format, subtitleFormat, m_formatKeep.get());
    layout.frameRate = m_frameRate;
    layout.language = m_language;
    if (auto written = SubtitleFile::write(path, m_subtitleController.subtitles(), encoding, layout); !written)
        return written;
    if (m_encoding != encoding || m_fileFormat != format || m_subtitleFormat != subtitleFormat) {
        if (m_encoding != encoding)
            m_consideredEncodings.clear();
        m_encoding = encoding;
        m_fileFormat = format;
        // The new file holds nothing of the old format's.
        if (m_formatKeep && m_formatKeep->format() != subtitleFormat)
            m_formatKeep.reset();
        m_subtitleFormat = subtitleFormat;
        emit encodingChanged();
    }
    return {};
}

QVariantMap Document::restorableState() const
{
    QVariantMap state;
    if (!m_selectedSubtitleIndexes.isEmpty())
        state.insert(QStringLiteral("selectedIndex"), m_selectedSubtitleIndexes.first());
    if (m_frameRate > 0)
        state.insert(QStringLiteral("frameRate"), m_frameRate);
    if (m_timecodeOffset > 0)
        state.insert(QStringLiteral("timecodeOffset"), m_timecodeOffset);
    state.insert(QStringLiteral("qualityProfile"), m_qualityProfile.id);
    state.insert(QStringLiteral("qualityProfileChosen"), m_qualityProfileChosen);
    m_original.saveState(state);
    return state;
}

void Document::restoreState(const QVariantMap &state)
{
    // Before the rate, which a profile the user did not choose follows. A state from before
    // the choice was kept holds the default unless the user chose another.
    if (const QString profile = state.value(QStringLiteral("qualityProfile")).toString(); !profile.isEmpty()) {
        const QVariant chosen = state.value(QStringLiteral("qualityProfileChosen"));
        setQualityProfile(profile);
        if (m_qualityProfile.id == profile) // not gone
            m_qualityProfileChosen = chosen.isValid() ? chosen.toBool() : profile != QualitySettings::shared()->defaultProfileId();
    }
    // The rate outlives its video (moved, or on a drive not mounted): a recovered or
    // reopened document keeps snapping to the same frames. A video that tells its rate wins.
    const double frameRate = state.value(QStringLiteral("frameRate")).toDouble();
    if (frameRate > 0 && !m_videoTellsFrameRate)
        setFrameRate(frameRate);
    setTimecodeOffset(state.value(QStringLiteral("timecodeOffset")).toDouble());
    m_original.restoreState(state, m_frameRate);
    const QVariant stored = state.value(QStringLiteral("selectedIndex"));
    if (!stored.isValid())
        return;
    bool ok = false;
    const int index = stored.toInt(&ok);
    if (ok && index >= 0 && index < m_subtitleController.count())
        setSelectedSubtitleIndexes(IndexSet(index));
}
