#include "app/window/QualityReportExport.h"

#include "document/Document.h"
#include "document/SubtitleFile.h"
#include "format/QualityReportWriter.h"
#include "model/quality/ProblemIndex.h"
#include "model/quality/QualityReport.h"
#include "model/SubtitleController.h"

#include <QFileDevice>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

void QualityReportExport::run(Document &document, QWidget *parent)
{
    const QString htmlFilter = tr("Web page (*.html *.htm)");
    const QString csvFilter = tr("CSV table (*.csv)");
    const QFileInfo file(document.filePath());
    const QString suggested = document.filePath().isEmpty()
                                  ? tr("Quality report.html")
                                  : file.dir().filePath(file.completeBaseName() + QStringLiteral(" quality report.html"));
    QFileDialog dialog(parent, tr("Export Quality Report"), suggested, htmlFilter + QStringLiteral(";;") + csvFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &filter) {
        dialog.setDefaultSuffix(filter == csvFilter ? QStringLiteral("csv") : QStringLiteral("html"));
    });
    dialog.setDefaultSuffix(QStringLiteral("html"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool csv = suffix == QLatin1String("csv")
                     || (suffix != QLatin1String("html") && suffix != QLatin1String("htm") && dialog.selectedNameFilter() == csvFilter);

    const ProblemIndex &index = document.problemIndex();
    const SubtitleList &subtitles = document.subtitleController().subtitles();
    const QualityReport report(index.limits(), index.frameRate(), index.shotChanges(), index.original());
    const std::vector<QualityReport::Row> rows = report.check(subtitles);
    const QualityReportWriter::Source source{report, rows, subtitles, document.displayName(),
                                                 document.qualityProfileName()};
    const QByteArray bytes = csv ? QualityReportWriter::csv(source) : QualityReportWriter::html(source);
    const auto written = SubtitleFile::saveAtomically(path, [&bytes](QFileDevice &out) { return out.write(bytes) == bytes.size(); });
    if (!written)
        QMessageBox::warning(parent, tr("Export Quality Report"),
                             tr("The report could not be written to “%1”.\n%2").arg(QFileInfo(path).fileName(), written.error()));
}
