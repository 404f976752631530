#pragma once

#include "model/quality/QualityProfile.h"

#include <QWidget>

#include <map>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

// The Preferences page of the quality profiles: choose one, see its limits, edit the
// user's own (built-ins are read only; Duplicate makes an editable copy), make one the
// profile of new documents. New, Duplicate, Delete and Import change the profile folder
// at once; edits to the fields are saved by apply().
class QualityProfilesPage : public QWidget
{
    Q_OBJECT

public:
    explicit QualityProfilesPage(QWidget *parent = nullptr);

    // The profile shown, with the edits made to it.
    QualityProfile shownProfile() const;
    // Saves every edited user profile and the choice for new documents.
    void apply();

private:
    void fillChooser(const QString &selectedId);
    void showProfile(const QString &id);
    void keepEdits();
    void setFields(const QualityProfile &profile);
    void addNew(QualityProfile profile);
    void removeShown();
    void importProfile();
    void exportShown();
    void addLanguageRow(const QString &code, const QualityProfile::LanguageLimits &limits);
    void refuse(const QString &title, const QString &message);
    void showReadingUnit();
    QualityLimits::ReadingUnit readingUnit() const;

    QComboBox *m_chooser = nullptr;
    QPushButton *m_delete = nullptr;
    QCheckBox *m_useForNew = nullptr;
    QWidget *m_fields = nullptr;
    QLineEdit *m_name = nullptr;
    QDoubleSpinBox *m_frameRate = nullptr;
    QComboBox *m_characters = nullptr;
    QComboBox *m_readingUnit = nullptr;
    QDoubleSpinBox *m_maxReadingSpeed = nullptr;
    QDoubleSpinBox *m_minDuration = nullptr;
    QDoubleSpinBox *m_maxDuration = nullptr;
    QSpinBox *m_maxLineLength = nullptr;
    QSpinBox *m_maxLines = nullptr;
    QSpinBox *m_minGapFrames = nullptr;
    QSpinBox *m_shotChangeZoneFrames = nullptr;
    QSpinBox *m_endBeforeShotChangeFrames = nullptr;
    QTableWidget *m_languages = nullptr;

    QualityProfile m_shown;                      // as stored, before this page's edits
    std::map<QString, QualityProfile> m_edited;  // user profiles edited here, by id
    QString m_defaultId;
};
