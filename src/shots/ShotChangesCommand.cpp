#include "shots/ShotChangesCommand.h"

#include "format/SubtitleWriter.h"
#include "shots/ShotChangeScanner.h"

#include <QTextStream>

#include <limits>

int ShotChangesCommand::run(const QString &path, QTextStream &out, QTextStream &err)
{
    auto scanner = ShotChangeScanner::open(path);
    if (!scanner) {
        err << scanner.error() << Qt::endl;
        return 1;
    }
    const QList<double> cuts = scanner.value()->scan(0, std::numeric_limits<double>::infinity());
    if (const QString error = scanner.value()->errorString(); !error.isEmpty()) {
        err << tr("%1: %2").arg(path, error) << Qt::endl;
        return 1;
    }
    for (double time : cuts)
        out << SubtitleWriter::formatTime(time) << '\n';
    out.flush();
    return 0;
}
