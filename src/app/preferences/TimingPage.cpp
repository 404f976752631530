#include "app/preferences/TimingPage.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

TimingPage::TimingPage(QWidget *parent)
    : QWidget(parent)
{
    // The ranges are those the settings are clamped to.
    m_defaultDuration = new QDoubleSpinBox;
    m_defaultDuration->setRange(TimingSettings::minDefaultDuration, TimingSettings::maxDefaultDuration);
    m_defaultDuration->setDecimals(2);
    m_defaultDuration->setSingleStep(0.1);
    m_defaultDuration->setSuffix(tr(" s"));
    m_chainThresholdFrames = new QSpinBox;
    m_chainThresholdFrames->setRange(1, TimingSettings::maxChainThresholdFrames);
    m_chainThresholdFrames->setSuffix(tr(" frames"));

    auto *form = new QFormLayout(this);
    form->addRow(tr("A subtitle inserted at the cursor &lasts:"), m_defaultDuration);
    form->addRow(tr("&Chaining closes gaps shorter than:"), m_chainThresholdFrames);
    auto *note = new QLabel(tr("An inserted subtitle is shortened to end the minimum gap before the next one. "
                               "Chaining makes each shorter gap exactly the minimum gap of the limits. "
                               "Frames are the video's, or 24 per second while no video is open."));
    note->setWordWrap(true);
    note->setTextFormat(Qt::PlainText);
    form->addRow(note);
    auto *defaults = new QPushButton(tr("Restore &Defaults"));
    connect(defaults, &QPushButton::clicked, this, [this] { setSettings(TimingSettings()); });
    form->addRow(defaults);

    setSettings(TimingSettings::load(QSettings()));
}

TimingSettings TimingPage::settings() const
{
    TimingSettings settings;
    settings.defaultDuration = m_defaultDuration->value();
    settings.chainThresholdFrames = m_chainThresholdFrames->value();
    return settings.clamped();
}

void TimingPage::setSettings(const TimingSettings &settings)
{
    m_defaultDuration->setValue(settings.defaultDuration);
    m_chainThresholdFrames->setValue(settings.chainThresholdFrames);
}

void TimingPage::apply()
{
    QSettings settings;
    this->settings().save(settings);
}
