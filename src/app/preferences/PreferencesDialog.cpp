#include "app/preferences/PreferencesDialog.h"

#include "app/preferences/KeyboardPreferencesPage.h"

#include "app/preferences/QualityProfilesPage.h"
#include "app/preferences/SpeechSnapPage.h"
#include "app/preferences/TimingPage.h"

#include <QDialogButtonBox>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

PreferencesDialog::PreferencesDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Preferences"));
    m_tabs = new QTabWidget(this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        applyPages();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

void PreferencesDialog::addPage(QWidget *page, const QString &title, std::function<void()> apply)
{
    m_tabs->addTab(page, title);
    if (apply)
        m_apply.append(std::move(apply));
}

void PreferencesDialog::applyPages()
{
    for (const auto &apply : std::as_const(m_apply))
        apply();
}

void PreferencesDialog::addApplicationPages()
{
    auto *limits = new QualityProfilesPage;
    addPage(limits, tr("Quality"), [limits] { limits->apply(); });
    auto *speech = new SpeechSnapPage;
    addPage(speech, tr("Speech"), [speech] { speech->apply(); });
    auto *timing = new TimingPage;
    addPage(timing, tr("Timing"), [timing] { timing->apply(); });
    // The keys of the menu commands, as the window asking has them.
    if (auto *window = qobject_cast<QMainWindow *>(parentWidget() ? parentWidget()->window() : nullptr)) {
        auto *keyboard = new KeyboardPreferencesPage(window);
        addPage(keyboard, tr("Keyboard"), [keyboard] { keyboard->apply(); });
        // Clashing keys would leave commands dead: OK waits until the page has none.
        connect(keyboard, &KeyboardPreferencesPage::conflictsChanged, m_ok,
                [this](bool conflicting) { m_ok->setEnabled(!conflicting); });
        m_ok->setEnabled(!keyboard->hasConflicts());
    }
}

void PreferencesDialog::run(QWidget *parent)
{
    PreferencesDialog dialog(parent);
    dialog.addApplicationPages();
    dialog.exec();
}
