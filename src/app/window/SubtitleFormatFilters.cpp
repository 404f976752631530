#include "app/window/SubtitleFormatFilters.h"

#include <QFileInfo>

namespace {

QString patterns(SubtitleFormat::Id format)
{
    QStringList patterns;
    for (const QString &extension : SubtitleFormat::extensions(format))
        patterns.append(QStringLiteral("*.") + extension);
    return patterns.join(u' ');
}

} // namespace

QString SubtitleFormatFilters::filter(SubtitleFormat::Id format)
{
    return QStringLiteral("%1 (%2)").arg(SubtitleFormat::name(format), patterns(format));
}

QStringList SubtitleFormatFilters::forOpening()
{
    QStringList all;
    QStringList filters;
    for (const SubtitleFormat::Id format : SubtitleFormat::all) {
        for (const QString &extension : SubtitleFormat::extensions(format)) {
            if (!all.contains(QStringLiteral("*.") + extension))
                all.append(QStringLiteral("*.") + extension);
        }
        filters.append(filter(format));
    }
    filters.prepend(tr("Subtitle files (%1)").arg(all.join(u' ')));
    filters.append(tr("All files (*)"));
    return filters;
}

QStringList SubtitleFormatFilters::forSaving()
{
    QStringList filters;
    for (const SubtitleFormat::Id format : SubtitleFormat::all) {
        if (SubtitleFormat::isWritable(format))
            filters.append(filter(format));
    }
    return filters;
}

std::optional<SubtitleFormat::Id> SubtitleFormatFilters::formatOf(const QString &selected)
{
    for (const SubtitleFormat::Id format : SubtitleFormat::all) {
        if (filter(format) == selected)
            return format;
    }
    return std::nullopt;
}

SubtitleFormat::Id SubtitleFormatFilters::formatForSaving(const QString &path, const QString &selectedFilter)
{
    if (const auto named = SubtitleFormat::fromFileName(path); named && SubtitleFormat::isWritable(*named))
        return *named;
    return formatOf(selectedFilter).value_or(SubtitleFormat::Srt);
}
