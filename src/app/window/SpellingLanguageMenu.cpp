#include "app/window/SpellingLanguageMenu.h"

#include "document/Document.h"
#include "spelling/Spelling.h"

#include <QActionGroup>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>

namespace {

const QString lastLanguageKey = QStringLiteral("spellingLanguage");
const QString byFileKey = QStringLiteral("spellingLanguageByFile");

QString languageName(const QString &code)
{
    const QLocale locale(code);
    if (locale.language() == QLocale::C)
        return code;
    return QStringLiteral("%1 (%2)").arg(QLocale::languageToString(locale.language()),
                                        QLocale::territoryToString(locale.territory()));
}

} // namespace

SpellingLanguageMenu::SpellingLanguageMenu(Spelling *spelling, Document *document, QMenu *parentMenu)
    : QObject(parentMenu)
    , m_spelling(spelling)
    , m_document(document)
    , m_menu(parentMenu->addMenu(tr("&Spelling Language")))
    , m_group(new QActionGroup(this))
{
    QAction *none = m_menu->addAction(tr("None"));
    none->setData(QString());
    m_menu->addSeparator();
    for (const QString &language : Spelling::availableLanguages())
        m_menu->addAction(languageName(language))->setData(language);
    for (QAction *action : m_menu->actions()) {
        if (action->isSeparator())
            continue;
        action->setCheckable(true);
        m_group->addAction(action);
        connect(action, &QAction::triggered, this, [this, action] { choose(action->data().toString()); });
    }
    rememberedLanguageToSpelling();
    connect(document, &Document::filePathChanged, this, &SpellingLanguageMenu::rememberedLanguageToSpelling);
}

void SpellingLanguageMenu::rememberedLanguageToSpelling()
{
    QSettings settings;
    const QVariantMap byFile = settings.value(byFileKey).toMap();
    const QString path = m_document ? m_document->filePath() : QString();
    QString language;
    if (!path.isEmpty() && byFile.contains(path)) {
        language = byFile.value(path).toString();
    } else if (settings.contains(lastLanguageKey)) {
        language = settings.value(lastLanguageKey).toString();
    } else if (Spelling::availableLanguages().contains(QLocale::system().name())) {
        language = QLocale::system().name();
    }
    apply(language, false);
}

void SpellingLanguageMenu::choose(const QString &language)
{
    QSettings settings;
    settings.setValue(lastLanguageKey, language);
    if (m_document && !m_document->filePath().isEmpty()) {
        QVariantMap byFile = settings.value(byFileKey).toMap();
        byFile.insert(m_document->filePath(), language);
        settings.setValue(byFileKey, byFile);
    }
    apply(language, true);
}

void SpellingLanguageMenu::apply(const QString &language, bool chosenByUser)
{
    if (!m_spelling)
        return;
    const auto set = m_spelling->setLanguage(language);
    // The quality limits follow the language the text is written in.
    if (m_document)
        m_document->setLanguage(m_spelling->language());
    // A remembered dictionary that has gone away since is quietly dropped.
    if (!set && chosenByUser)
        QMessageBox::warning(m_menu->parentWidget(), tr("Spelling Language"), set.error());
    updateChecks();
}

void SpellingLanguageMenu::updateChecks()
{
    for (QAction *action : m_group->actions())
        action->setChecked(action->data().toString() == m_spelling->language());
}
