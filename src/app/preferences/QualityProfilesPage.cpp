#include "app/preferences/QualityProfilesPage.h"

#include "document/QualitySettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum LanguageColumn { CodeColumn, SpeedColumn, UnitColumn, LengthColumn, LinesColumn };

QString unitName(QualityLimits::ReadingUnit unit)
{
    return unit == QualityLimits::ReadingUnit::WordsPerMinute ? QualityProfilesPage::tr("words per minute")
                                                              : QualityProfilesPage::tr("characters per second");
}

void addUnits(QComboBox *box)
{
    for (const auto unit : {QualityLimits::ReadingUnit::CharactersPerSecond, QualityLimits::ReadingUnit::WordsPerMinute})
        box->addItem(unitName(unit), int(unit));
}

QDoubleSpinBox *numberBox(double minimum, double maximum, int decimals, const QString &suffix = {})
{
    auto *box = new QDoubleSpinBox;
    box->setRange(minimum, maximum);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    return box;
}

QSpinBox *countBox(int minimum, int maximum, const QString &suffix = {})
{
    auto *box = new QSpinBox;
    box->setRange(minimum, maximum);
    box->setSuffix(suffix);
    return box;
}

// Language codes as profiles keep them ("ja", "pt_BR"), and numbers in their ranges.
class LanguageDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        switch (index.column()) {
        case CodeColumn: {
            auto *edit = new QLineEdit(parent);
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[a-z]{2,3}(_[A-Z]{2})?")), edit));
            return edit;
        }
        case SpeedColumn: {
            QDoubleSpinBox *box = numberBox(1, 1000, 1);
            box->setParent(parent);
            return box;
        }
        case UnitColumn: {
            auto *box = new QComboBox(parent);
            addUnits(box);
            return box;
        }
        case LengthColumn:
        case LinesColumn: {
            QSpinBox *box = countBox(1, index.column() == LengthColumn ? 10000 : 100);
            box->setParent(parent);
            return box;
        }
        }
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    // The unit is kept as its number, shown by its name.
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor))
            return box->setCurrentIndex(box->findData(index.data(Qt::UserRole)));
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor)) {
            model->setData(index, box->currentData(), Qt::UserRole);
            model->setData(index, box->currentText(), Qt::DisplayRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};

} // namespace

QualityProfilesPage::QualityProfilesPage(QWidget *parent)
    : QWidget(parent)
    , m_defaultId(QualitySettings::shared()->defaultProfileId())
{
    m_chooser = new QComboBox;
    m_chooser->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *newProfile = new QPushButton(tr("&New"));
    auto *duplicate = new QPushButton(tr("D&uplicate"));
    m_delete = new QPushButton(tr("&Delete"));
    auto *import = new QPushButton(tr("&Import…"));
    auto *exportButton = new QPushButton(tr("E&xport…"));
    auto *chooserRow = new QHBoxLayout;
    chooserRow->addWidget(m_chooser, 1);
    for (QPushButton *button : {newProfile, duplicate, m_delete, import, exportButton})
        chooserRow->addWidget(button);
    m_useForNew = new QCheckBox(tr("Use for new d&ocuments"));

    // The ranges are those a profile file may hold.
    m_name = new QLineEdit;
    m_name->setMaxLength(QualityProfile::maximumNameLength);
    m_frameRate = numberBox(1, 1000, 3, tr(" fps"));
    m_characters = new QComboBox;
    m_characters->addItem(tr("All characters"), int(QualityLimits::Characters::All));
    m_characters->addItem(tr("Without spaces"), int(QualityLimits::Characters::WithoutSpaces));
    m_characters->addItem(tr("Letters and digits only"), int(QualityLimits::Characters::LettersAndDigits));
    m_readingUnit = new QComboBox;
    addUnits(m_readingUnit);
    m_maxReadingSpeed = numberBox(1, 1000, 1);
    m_minDuration = numberBox(0, 3600, 3, tr(" s"));
    m_maxDuration = numberBox(0.1, 86400, 3, tr(" s"));
    m_maxLineLength = countBox(1, 10000, tr(" characters"));
    m_maxLines = countBox(1, 100);
    m_minGapFrames = countBox(0, 1000, tr(" frames"));
    m_shotChangeZoneFrames = countBox(1, 50, tr(" frames"));
    m_endBeforeShotChangeFrames = countBox(0, 49, tr(" frames"));

    m_languages = new QTableWidget(0, 5);
    m_languages->setHorizontalHeaderLabels({tr("Language"), tr("Reading speed"), tr("Counted in"), tr("Line length"), tr("Lines")});
    m_languages->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_languages->verticalHeader()->hide();
    m_languages->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_languages->setItemDelegate(new LanguageDelegate(m_languages));
    m_languages->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_languages->setMinimumHeight(120);
    auto *addLanguage = new QPushButton(tr("&Add Language"));
    auto *removeLanguage = new QPushButton(tr("Remo&ve Language"));
    auto *languageButtons = new QVBoxLayout;
    languageButtons->addWidget(addLanguage);
    languageButtons->addWidget(removeLanguage);
    languageButtons->addStretch();
    auto *languages = new QHBoxLayout;
    languages->addWidget(m_languages, 1);
    languages->addLayout(languageButtons);

    m_fields = new QWidget;
    auto *form = new QFormLayout(m_fields);
    form->setContentsMargins({});
    form->addRow(tr("&Profile name:"), m_name);
    form->addRow(tr("&Frame rate without a video:"), m_frameRate);
    form->addRow(tr("Count reading speed &in:"), m_readingUnit);
    form->addRow(tr("What counts as a &character:"), m_characters);
    form->addRow(tr("Maximum &reading speed:"), m_maxReadingSpeed);
    form->addRow(tr("Minimu&m duration:"), m_minDuration);
    form->addRow(tr("Maximum dura&tion:"), m_maxDuration);
    form->addRow(tr("Maximum line &length:"), m_maxLineLength);
    form->addRow(tr("Maximum lin&es:"), m_maxLines);
    form->addRow(tr("Minimum &gap:"), m_minGapFrames);
    form->addRow(tr("Keep edges from &shot changes by:"), m_shotChangeZoneFrames);
    form->addRow(tr("End &before a shot change by:"), m_endBeforeShotChangeFrames);
    form->addRow(new QLabel(tr("Languages that read differently (the spelling language chooses):")));
    form->addRow(languages);

    auto *note = new QLabel(tr("Characters are what a viewer reads, without line breaks and formatting tags; line "
                               "lengths count every character, spaces included. Words are counted as a viewer reads "
                               "them: a speaker's dash is none, a hyphenated word or a number is one. Frames are the "
                               "video's, or counted at the profile's frame rate while no video is open."));
    note->setWordWrap(true);
    note->setTextFormat(Qt::PlainText);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(chooserRow);
    layout->addWidget(m_useForNew);
    layout->addWidget(m_fields);
    layout->addWidget(note);

    connect(m_readingUnit, &QComboBox::activated, this, [this] {
        // A limit in the other unit means nothing here: start from the usual one.
        m_maxReadingSpeed->setValue(readingUnit() == QualityLimits::ReadingUnit::WordsPerMinute ? 180 : QualityLimits().maxReadingSpeed);
        showReadingUnit();
    });
    connect(m_chooser, &QComboBox::activated, this, [this] {
        keepEdits();
        showProfile(m_chooser->currentData().toString());
    });
    connect(newProfile, &QPushButton::clicked, this, [this] {
        QualityProfile profile = *QualityProfile::builtInNamed(QualityProfile::defaultId());
        profile.name = tr("New profile");
        profile.languages.clear();
        addNew(profile);
    });
    connect(duplicate, &QPushButton::clicked, this, [this] { addNew(shownProfile()); });
    connect(m_delete, &QPushButton::clicked, this, &QualityProfilesPage::removeShown);
    connect(import, &QPushButton::clicked, this, &QualityProfilesPage::importProfile);
    connect(exportButton, &QPushButton::clicked, this, &QualityProfilesPage::exportShown);
    connect(m_useForNew, &QCheckBox::toggled, this, [this](bool checked) {
        if (checked)
            m_defaultId = m_shown.id;
        else if (m_defaultId == m_shown.id)
            m_defaultId = QualityProfile::defaultId();
    });
    connect(addLanguage, &QPushButton::clicked, this, [this] {
        addLanguageRow(QString(), {m_maxReadingSpeed->value(), m_maxLineLength->value(), m_maxLines->value(), readingUnit()});
        m_languages->editItem(m_languages->item(m_languages->rowCount() - 1, CodeColumn));
    });
    connect(removeLanguage, &QPushButton::clicked, this, [this] {
        for (int row = m_languages->rowCount() - 1; row >= 0; --row) {
            if (m_languages->item(row, CodeColumn)->isSelected())
                m_languages->removeRow(row);
        }
    });

    fillChooser(m_defaultId);
    showProfile(m_defaultId);
}

void QualityProfilesPage::fillChooser(const QString &selectedId)
{
    m_chooser->clear();
    bool builtIns = true;
    for (const QualityProfile &profile : QualitySettings::shared()->profiles()) {
        if (builtIns && !profile.isBuiltIn) {
            m_chooser->insertSeparator(m_chooser->count());
            builtIns = false;
        }
        m_chooser->addItem(profile.name, profile.id);
    }
    m_chooser->setCurrentIndex(std::max(0, m_chooser->findData(selectedId)));
}

void QualityProfilesPage::showProfile(const QString &id)
{
    m_shown = QualitySettings::shared()->profile(id).value_or(QualitySettings::shared()->defaultProfile());
    const auto edited = m_edited.find(m_shown.id);
    setFields(edited != m_edited.end() ? edited->second : m_shown);
    m_fields->setEnabled(!m_shown.isBuiltIn);
    m_delete->setEnabled(!m_shown.isBuiltIn);
    const QSignalBlocker blocker(m_useForNew);
    m_useForNew->setChecked(m_shown.id == m_defaultId);
}

void QualityProfilesPage::setFields(const QualityProfile &profile)
{
    const QualityLimits &limits = profile.limits;
    m_name->setText(profile.name);
    m_frameRate->setValue(limits.frameRate);
    m_readingUnit->setCurrentIndex(m_readingUnit->findData(int(limits.readingUnit)));
    m_characters->setCurrentIndex(m_characters->findData(int(limits.readingCharacters)));
    m_maxReadingSpeed->setValue(limits.maxReadingSpeed);
    showReadingUnit();
    m_minDuration->setValue(limits.minDuration);
    m_maxDuration->setValue(limits.maxDuration);
    m_maxLineLength->setValue(limits.maxLineLength);
    m_maxLines->setValue(limits.maxLines);
    m_minGapFrames->setValue(limits.minGapFrames);
    m_shotChangeZoneFrames->setValue(limits.shotChangeZoneFrames);
    m_endBeforeShotChangeFrames->setValue(limits.endBeforeShotChangeFrames);
    m_languages->setRowCount(0);
    for (const auto &[code, language] : profile.languages)
        addLanguageRow(code, language);
}

void QualityProfilesPage::addLanguageRow(const QString &code, const QualityProfile::LanguageLimits &limits)
{
    const int row = m_languages->rowCount();
    m_languages->insertRow(row);
    m_languages->setItem(row, CodeColumn, new QTableWidgetItem(code));
    const QVariant values[] = {limits.maxReadingSpeed, unitName(limits.readingUnit), limits.maxLineLength, limits.maxLines};
    for (int column = SpeedColumn; column <= LinesColumn; ++column) {
        auto *item = new QTableWidgetItem;
        item->setData(Qt::DisplayRole, values[column - SpeedColumn]);
        m_languages->setItem(row, column, item);
    }
    m_languages->item(row, UnitColumn)->setData(Qt::UserRole, int(limits.readingUnit));
}

QualityLimits::ReadingUnit QualityProfilesPage::readingUnit() const
{
    return QualityLimits::ReadingUnit(m_readingUnit->currentData().toInt());
}

void QualityProfilesPage::showReadingUnit()
{
    const bool words = readingUnit() == QualityLimits::ReadingUnit::WordsPerMinute;
    m_maxReadingSpeed->setSuffix(u' ' + unitName(readingUnit()));
    // Words are words whatever counts as a character.
    m_characters->setEnabled(!words);
}

QualityProfile QualityProfilesPage::shownProfile() const
{
    QualityProfile profile = m_shown;
    if (profile.isBuiltIn)
        return profile;
    profile.name = m_name->text().simplified().isEmpty() ? m_shown.name : m_name->text().simplified();
    QualityLimits &limits = profile.limits;
    limits.frameRate = m_frameRate->value();
    limits.readingCharacters = QualityLimits::Characters(m_characters->currentData().toInt());
    limits.readingUnit = readingUnit();
    limits.maxReadingSpeed = m_maxReadingSpeed->value();
    limits.minDuration = m_minDuration->value();
    limits.maxDuration = m_maxDuration->value();
    limits.maxLineLength = m_maxLineLength->value();
    limits.maxLines = m_maxLines->value();
    limits.minGapFrames = m_minGapFrames->value();
    limits.shotChangeZoneFrames = m_shotChangeZoneFrames->value();
    limits.endBeforeShotChangeFrames = m_endBeforeShotChangeFrames->value();
    limits = limits.clamped();
    profile.languages.clear();
    // A row still without a code is no language yet; the editor takes only whole codes.
    for (int row = 0; row < m_languages->rowCount(); ++row) {
        const QString code = m_languages->item(row, CodeColumn)->text();
        if (code.isEmpty())
            continue;
        profile.languages[code] = {m_languages->item(row, SpeedColumn)->data(Qt::DisplayRole).toDouble(),
                                   m_languages->item(row, LengthColumn)->data(Qt::DisplayRole).toInt(),
                                   m_languages->item(row, LinesColumn)->data(Qt::DisplayRole).toInt(),
                                   QualityLimits::ReadingUnit(m_languages->item(row, UnitColumn)->data(Qt::UserRole).toInt())};
    }
    return profile;
}

void QualityProfilesPage::keepEdits()
{
    if (m_shown.isBuiltIn)
        return;
    const QualityProfile edited = shownProfile();
    if (edited == m_shown)
        m_edited.erase(m_shown.id);
    else
        m_edited[m_shown.id] = edited;
}

void QualityProfilesPage::addNew(QualityProfile profile)
{
    keepEdits();
    profile.id.clear();
    profile.isBuiltIn = false;
    profile.name = QualitySettings::shared()->store().unusedName(profile.name);
    auto saved = QualitySettings::shared()->saveProfile(profile);
    if (!saved)
        return refuse(tr("New Profile"), saved.error());
    fillChooser(saved.value().id);
    showProfile(saved.value().id);
    m_name->setFocus();
    m_name->selectAll();
}

void QualityProfilesPage::removeShown()
{
    if (m_shown.isBuiltIn)
        return;
    const auto answer = QMessageBox::question(this, tr("Delete Profile"),
                                              tr("Delete the quality profile \"%1\"? Documents that use it "
                                                 "are then checked by the default profile.")
                                                  .arg(m_shown.name));
    if (answer != QMessageBox::Yes)
        return;
    auto removed = QualitySettings::shared()->removeProfile(m_shown.id);
    if (!removed)
        return refuse(tr("Delete Profile"), removed.error());
    m_edited.erase(m_shown.id);
    if (m_defaultId == m_shown.id)
        m_defaultId = QualitySettings::shared()->defaultProfileId();
    fillChooser(m_defaultId);
    showProfile(m_defaultId);
}

void QualityProfilesPage::importProfile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Import Quality Profile"),
                                                      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                                                      tr("Quality profiles (*.json);;All files (*)"));
    if (path.isEmpty())
        return;
    keepEdits();
    auto imported = QualitySettings::shared()->importProfile(path);
    if (!imported)
        return refuse(tr("Import Quality Profile"), imported.error());
    fillChooser(imported.value().id);
    showProfile(imported.value().id);
}

void QualityProfilesPage::exportShown()
{
    const QualityProfile profile = shownProfile();
    const QString suggested = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + u'/'
                            + (profile.id.isEmpty() ? QStringLiteral("profile") : profile.id) + QStringLiteral(".json");
    const QString path = QFileDialog::getSaveFileName(this, tr("Export Quality Profile"), suggested,
                                                      tr("Quality profiles (*.json)"));
    if (path.isEmpty())
        return;
    auto written = QualityProfiles::exportFile(profile, path);
    if (!written)
        refuse(tr("Export Quality Profile"), written.error());
}

void QualityProfilesPage::refuse(const QString &title, const QString &message)
{
    QMessageBox::warning(this, title, message);
}

void QualityProfilesPage::apply()
{
    keepEdits();
    QualitySettings *settings = QualitySettings::shared();
    for (const auto &[id, profile] : m_edited) {
        if (!settings->profile(id))
            continue; // deleted meanwhile
        auto saved = settings->saveProfile(profile);
        if (!saved)
            refuse(tr("Save Profile"), saved.error());
    }
    m_edited.clear();
    settings->setDefaultProfileId(m_defaultId);
}
