#pragma once

#include "format/SubtitleFormat.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

// The file dialogs' name filters for subtitle formats, and the format a filter stands for.
class SubtitleFormatFilters
{
    Q_DECLARE_TR_FUNCTIONS(SubtitleFormatFilters)

public:
    // Every format read, all together first, then each, then all files.
    static QStringList forOpening();
    // The formats written, one filter each.
    static QStringList forSaving();
    static QString filter(SubtitleFormat::Id format);
    static std::optional<SubtitleFormat::Id> formatOf(const QString &filter);
    // The format a Save As writes: the name's extension when it stands for a format written,
    // else the filter's.
    static SubtitleFormat::Id formatForSaving(const QString &path, const QString &selectedFilter);
};
