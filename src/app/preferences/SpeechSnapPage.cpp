#include "app/preferences/SpeechSnapPage.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

SpeechSnapPage::SpeechSnapPage(QWidget *parent)
    : QWidget(parent)
{
    // The ranges are those the settings are clamped to.
    m_leadOutFrames = new QSpinBox;
    m_leadOutFrames->setRange(0, SpeechSnapSettings::maxLeadOutFrames);
    m_leadOutFrames->setSuffix(tr(" frames"));
    m_searchWindow = new QDoubleSpinBox;
    m_searchWindow->setRange(SpeechSnapSettings::minSearchWindow, SpeechSnapSettings::maxSearchWindow);
    m_searchWindow->setDecimals(2);
    m_searchWindow->setSingleStep(0.1);
    m_searchWindow->setSuffix(tr(" s"));

    auto *form = new QFormLayout(this);
    form->addRow(tr("Look for speech &within:"), m_searchWindow);
    form->addRow(tr("&Keep a subtitle after the speech ends by:"), m_leadOutFrames);
    auto *note = new QLabel(tr("Snapping to speech moves each start to where the nearest speech begins and each end "
                               "to where it stops, plus the time after it, when the speech is that close to the "
                               "edge. Frames are the video's, or 24 per second while no video is open."));
    note->setWordWrap(true);
    note->setTextFormat(Qt::PlainText);
    form->addRow(note);
    auto *defaults = new QPushButton(tr("Restore &Defaults"));
    connect(defaults, &QPushButton::clicked, this, [this] { setSettings(SpeechSnapSettings()); });
    form->addRow(defaults);

    setSettings(SpeechSnapSettings::load(QSettings()));
}

SpeechSnapSettings SpeechSnapPage::settings() const
{
    SpeechSnapSettings settings;
    settings.leadOutFrames = m_leadOutFrames->value();
    settings.searchWindow = m_searchWindow->value();
    return settings.clamped();
}

void SpeechSnapPage::setSettings(const SpeechSnapSettings &settings)
{
    m_leadOutFrames->setValue(settings.leadOutFrames);
    m_searchWindow->setValue(settings.searchWindow);
}

void SpeechSnapPage::apply()
{
    QSettings settings;
    this->settings().save(settings);
}
