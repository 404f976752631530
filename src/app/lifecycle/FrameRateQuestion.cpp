#include "app/lifecycle/FrameRateQuestion.h"

#include "format/SubtitleFormat.h"

#include <QFile>
#include <QInputDialog>
#include <QRegularExpression>

std::optional<double> FrameRateQuestion::askFor(const QString &path, QWidget *parent)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The beginning tells the format; its characters matter only as ASCII.
    const QString head = QString::fromLatin1(file.read(4096));
    if (SubtitleFormat::detect(head) != SubtitleFormat::MicroDvd)
        return std::nullopt;
    static const QRegularExpression declared(QStringLiteral(R"(^\s*\{1\}\{1\}\s*\d+(\.\d+)?\s*$)"),
                                             QRegularExpression::MultilineOption);
    if (declared.match(head.section(u'\n', 0, 0)).hasMatch())
        return std::nullopt;
    const QList<double> rates = {24000.0 / 1001, 24, 25, 30000.0 / 1001, 30};
    const QStringList names = {QStringLiteral("23.976"), QStringLiteral("24"), QStringLiteral("25"), QStringLiteral("29.97"),
                               QStringLiteral("30")};
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        parent, tr("Frame Rate"),
        tr("“%1” counts frames and does not say how many there are in a second.\nFrames per second:")
            .arg(QFile(path).fileName().section(u'/', -1)),
        names, 0, false, &ok);
    if (!ok)
        return std::nullopt;
    return rates.value(names.indexOf(chosen), rates.first());
}
