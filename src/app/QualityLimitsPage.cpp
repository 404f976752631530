#include "app/QualityLimitsPage.h"

#include "document/QualitySettings.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {

QDoubleSpinBox *secondsBox(double minimum, double maximum)
{
    auto *box = new QDoubleSpinBox;
    box->setRange(minimum, maximum);
    box->setDecimals(3);
    box->setSingleStep(0.1);
    box->setSuffix(QualityLimitsPage::tr(" s"));
    return box;
}

QSpinBox *countBox(int minimum, int maximum, const QString &suffix = {})
{
    auto *box = new QSpinBox;
    box->setRange(minimum, maximum);
    box->setSuffix(suffix);
    return box;
}

} // namespace

QualityLimitsPage::QualityLimitsPage(QWidget *parent)
    : QWidget(parent)
{
    // The ranges are those the limits are clamped to.
    m_maxCharactersPerSecond = new QDoubleSpinBox;
    m_maxCharactersPerSecond->setRange(1, 1000);
    m_maxCharactersPerSecond->setDecimals(1);
    m_minDuration = secondsBox(0, 3600);
    m_maxDuration = secondsBox(0.1, 86400);
    m_maxLineLength = countBox(1, 10000, tr(" characters"));
    m_maxLines = countBox(1, 100);
    m_minGapFrames = countBox(0, 1000, tr(" frames"));
    m_shotChangeZoneFrames = countBox(1, 50, tr(" frames"));
    m_endBeforeShotChangeFrames = countBox(0, 49, tr(" frames"));

    auto *form = new QFormLayout(this);
    form->addRow(tr("Maximum &reading speed (characters per second):"), m_maxCharactersPerSecond);
    form->addRow(tr("M&inimum duration:"), m_minDuration);
    form->addRow(tr("M&aximum duration:"), m_maxDuration);
    form->addRow(tr("Maximum line &length:"), m_maxLineLength);
    form->addRow(tr("Maximum li&nes:"), m_maxLines);
    form->addRow(tr("Minimum &gap:"), m_minGapFrames);
    form->addRow(tr("Keep edges from &shot changes by:"), m_shotChangeZoneFrames);
    form->addRow(tr("End &before a shot change by:"), m_endBeforeShotChangeFrames);
    auto *note = new QLabel(tr("Characters are what a viewer reads: letters, digits, punctuation and the spaces "
                               "between words, without line breaks and formatting tags. The gap counts frames of "
                               "the video, or of 24 frames per second while no video is open."));
    note->setWordWrap(true);
    note->setTextFormat(Qt::PlainText);
    form->addRow(note);
    auto *defaults = new QPushButton(tr("Restore &Defaults"));
    connect(defaults, &QPushButton::clicked, this, [this] { setLimits(QualityLimits()); });
    form->addRow(defaults);

    setLimits(QualitySettings::shared()->limits());
}

QualityLimits QualityLimitsPage::limits() const
{
    QualityLimits limits;
    limits.maxCharactersPerSecond = m_maxCharactersPerSecond->value();
    limits.minDuration = m_minDuration->value();
    limits.maxDuration = m_maxDuration->value();
    limits.maxLineLength = m_maxLineLength->value();
    limits.maxLines = m_maxLines->value();
    limits.minGapFrames = m_minGapFrames->value();
    limits.shotChangeZoneFrames = m_shotChangeZoneFrames->value();
    limits.endBeforeShotChangeFrames = m_endBeforeShotChangeFrames->value();
    return limits.clamped();
}

void QualityLimitsPage::setLimits(const QualityLimits &limits)
{
    m_maxCharactersPerSecond->setValue(limits.maxCharactersPerSecond);
    m_minDuration->setValue(limits.minDuration);
    m_maxDuration->setValue(limits.maxDuration);
    m_maxLineLength->setValue(limits.maxLineLength);
    m_maxLines->setValue(limits.maxLines);
    m_minGapFrames->setValue(limits.minGapFrames);
    m_shotChangeZoneFrames->setValue(limits.shotChangeZoneFrames);
    m_endBeforeShotChangeFrames->setValue(limits.endBeforeShotChangeFrames);
}

void QualityLimitsPage::apply()
{
    QualitySettings::shared()->setLimits(limits());
}
