#pragma once

#include "model/quality/QualityReport.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <vector>

// A quality report as a file for a client: CSV for a spreadsheet, or one HTML page that
// opens, reads and prints anywhere (its style inline, no scripts, nothing fetched). Both
// UTF-8; both say so when there is nothing to report.
class QualityReportWriter
{
    Q_DECLARE_TR_FUNCTIONS(QualityReportWriter)

public:
    struct Source
    {
        const QualityReport &report;
        const std::vector<QualityReport::Row> &rows;
        const SubtitleList &subtitles; // what the rows were made from
        QString fileName;              // shown in the title
        QString profileName;           // the limits' name; empty: the limits alone
    };

    // A header row (number,start,end,kind,value,limit,unit,description), then one row a problem.
    static QByteArray csv(const Source &source);
    static QByteArray html(const Source &source);

    // The row's value as a report shows it beside its limit: with as many more decimals
    // (up to six) as it takes not to read as the limit it breaks ("20.04", never "20").
    static QString shownValue(const QualityReport::Row &row);

    // A CSV field: quoted, its quotes doubled, when it holds a comma, a quote or a line break.
    static QString csvField(const QString &text);
};
