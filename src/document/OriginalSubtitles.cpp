#include "document/OriginalSubtitles.h"

#include <QFileInfo>

#include <algorithm>

namespace {

const QString fileKey = QStringLiteral("originalFile");
const QString encodingKey = QStringLiteral("originalEncoding");

} // namespace

const SubtitleList &OriginalSubtitles::subtitles() const
{
    static const SubtitleList none;
    return m_pairing ? m_pairing->originals() : none;
}

const Subtitle *OriginalSubtitles::pairedWith(double start, double end) const
{
    if (!m_pairing)
        return nullptr;
    const std::optional<int> position = m_pairing->pairedWith(start, end);
    return position ? m_pairing->originals()[*position].get() : nullptr;
}

const Subtitle *OriginalSubtitles::lineAt(double t) const
{
    if (!m_pairing)
        return nullptr;
    // The last line starting at or before t, while it lasts.
    const SubtitleList &lines = m_pairing->originals();
    const auto after = std::upper_bound(lines.begin(), lines.end(), t,
                                        [](double time, const SubtitlePtr &line) { return time < line->start; });
    if (after == lines.begin())
        return nullptr;
    const Subtitle *line = (after - 1)->get();
    return t < line->end ? line : nullptr;
}

Expected<void, QString> OriginalSubtitles::attach(const QString &path, int encoding, SubtitleFile::Reading reading,
                                                  double frameRate)
{
    auto read = SubtitleFile::read(path, encoding, reading, frameRate);
    if (!read)
        return read.error();
    m_path = QFileInfo(path).absoluteFilePath();
    m_chosenEncoding = encoding == TextEncoding::Automatic ? std::nullopt : std::optional(encoding);
    m_pairing = std::make_shared<const OriginalPairing>(std::move(read).value().subtitles);
    emit changed();
    return {};
}

void OriginalSubtitles::detach()
{
    if (!m_pairing)
        return;
    m_pairing.reset();
    m_path.clear();
    m_chosenEncoding.reset();
    emit changed();
}

void OriginalSubtitles::saveState(QVariantMap &state) const
{
    if (!m_pairing)
        return;
    state.insert(fileKey, m_path);
    if (m_chosenEncoding)
        state.insert(encodingKey, *m_chosenEncoding);
}

void OriginalSubtitles::restoreState(const QVariantMap &state, double frameRate)
{
    const QString path = state.value(fileKey).toString();
    if (path.isEmpty() || (isAttached() && path == m_path))
        return;
    const int encoding = state.value(encodingKey, TextEncoding::Automatic).toInt();
    if (auto attached = attach(path, encoding, SubtitleFile::Reading::Repairing, frameRate); !attached)
        emit restoreFailed(tr("The original “%1” was not attached again: %2").arg(QFileInfo(path).fileName(), attached.error()));
}
