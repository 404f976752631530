#include "panels/FrameRateDialog.h"

#include "document/Document.h"
#include "model/LinearTimeMap.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

#include <cmath>

namespace {

const QStringList commonRates{QStringLiteral("23.976"), QStringLiteral("24"), QStringLiteral("25"),
                              QStringLiteral("29.97"), QStringLiteral("30"), QStringLiteral("50"),
                              QStringLiteral("59.94"), QStringLiteral("60")};

// Undo puts the previous rate back, and redo the new one.
void setFrameRateUndoably(Document *document, double rate)
{
    const double previous = document->frameRate();
    document->setFrameRate(rate);
    document->undoManager().registerUndo([document, previous] { setFrameRateUndoably(document, previous); });
}

} // namespace

FrameRateDialog::FrameRateDialog(Document *document, QWidget *parent)
    : TimingDialog(document, tr("Change Frame Rate"), parent)
{
    // The document's rate (its video's, or the last conversion's) is the likely source.
    const double videoRate = document->frameRate();
    QString from = QStringLiteral("25");
    for (const QString &rate : commonRates) {
        if (videoRate > 0 && std::abs(*parseRate(rate) - videoRate) < 0.001)
            from = rate;
    }
    m_from = addRateRow(tr("&From frames per second:"), from);
    m_to = addRateRow(tr("&To frames per second:"), from == QStringLiteral("23.976") ? QStringLiteral("25")
                                                                                         : QStringLiteral("23.976"));
}

QComboBox *FrameRateDialog::addRateRow(const QString &label, const QString &rate)
{
    auto *combo = new QComboBox(this);
    combo->setEditable(true);
    combo->addItems(commonRates);
    combo->setCurrentText(rate);
    combo->setInsertPolicy(QComboBox::NoInsert);
    form()->addRow(label, combo);
    return combo;
}

std::optional<double> FrameRateDialog::parseRate(const QString &text)
{
    QString number = text.trimmed();
    number.replace(u',', u'.');
    bool ok = false;
    const double rate = number.toDouble(&ok);
    if (!ok || !(rate > 0) || !std::isfinite(rate))
        return std::nullopt;
    // 23.976 and the like are how people write the NTSC rates n × 1000/1001.
    for (const double whole : {24.0, 30.0, 48.0, 60.0, 120.0}) {
        const double ntsc = whole * 1000.0 / 1001.0;
        if (std::abs(rate - ntsc) < 0.005 && rate != whole)
            return ntsc;
    }
    return rate;
}

bool FrameRateDialog::apply()
{
    const auto from = parseRate(m_from->currentText());
    const auto to = parseRate(m_to->currentText());
    if (!from || !to) {
        showError(tr("A frame rate is a positive number, as 25 or 23.976."));
        return false;
    }
    const auto map = LinearTimeMap::frameRateConversion(*from, *to);
    SubtitleController &controller = document()->subtitleController();
    // Without a video that tells its rate, the rate converted to becomes the document's.
    const bool choosesRate = !document()->hasVideoFrameRate() && document()->frameRate() != *to;
    const bool retimes = map && *from != *to && controller.count() > 0;
    if (!choosesRate && !retimes)
        return true;
    document()->undoManager().runAsOneStep(tr("Change Frame Rate"), [&] {
        if (retimes)
            controller.retimeSubtitles(IndexSet::fromRange(0, controller.count()), *map);
        if (choosesRate)
            setFrameRateUndoably(document(), *to);
    });
    return true;
}
