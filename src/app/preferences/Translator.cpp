#include "app/preferences/Translator.h"

#include "app/preferences/EnglishPlurals.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace {

// The translators this program installed, so that a new choice replaces them.
QList<QPointer<QTranslator>> &installed()
{
    static QList<QPointer<QTranslator>> translators;
    return translators;
}

void removeInstalled(QCoreApplication &)
{
    for (const QPointer<QTranslator> &translator : std::exchange(installed(), {})) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
}

// Loads "<baseName>_<language>.qm" from the first directory holding it.
QTranslator *load(QCoreApplication &app, const QString &baseName, const QString &language, const QStringList &directories)
{
    auto translator = new QTranslator(&app);
    for (const QString &directory : directories) {
        // QTranslator::load(QLocale, …) would also try the locale's further languages;
        // the caller walks the user's list itself, so ask for this one language only.
        if (translator->load(QLocale(language), baseName, QStringLiteral("_"), directory)) {
            QCoreApplication::installTranslator(translator);
            installed().append(translator);
            return translator;
        }
    }
    delete translator;
    return nullptr;
}

} // namespace

void Translator::install(QCoreApplication &app)
{
    install(app, QLocale::system().uiLanguages());
}

QString Translator::install(QCoreApplication &app, const QStringList &uiLanguages)
{
    removeInstalled(app);
    // First, so that it is asked last: only a text no translation has gets English forms.
    auto *plurals = new EnglishPlurals(&app);
    QCoreApplication::installTranslator(plurals);
    installed().append(plurals);
    for (const QString &language : uiLanguages) {
        const QLocale locale(language);
        if (locale.language() == QLocale::English || locale.language() == QLocale::C)
            return {};
        if (load(app, QStringLiteral("cuewright"), language, searchPaths())) {
            // Qt's own texts are optional: without them only the standard buttons stay English.
            load(app, QStringLiteral("qtbase"), language, {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
            return language;
        }
    }
    return {};
}

QStringList Translator::searchPaths()
{
    return {QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../share/cuewright/translations")),
            QStringLiteral(":/i18n")};
}
