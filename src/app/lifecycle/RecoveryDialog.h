#pragma once

#include "app/lifecycle/RecoveryStore.h"

#include <QDialog>

class QCheckBox;
class QListWidget;

// Offers the work that crashed sessions left unsaved, newest first, in a scrolling list
// of checkable entries however many there are: the newest few are checked; the user
// recovers or discards the checked ones, and unchecked entries stay for the next start.
// Each recovered entry opens a window, so recovering more than a few asks first.
class RecoveryDialog : public QDialog
{
    Q_OBJECT

public:
    // How many entries are checked at first, and recovered without asking again.
    static constexpr int handful = 5;

    struct Choice
    {
        QList<RecoveryStore::Entry> recover;
        QList<RecoveryStore::Entry> discard;
    };

    // `entries` oldest first, as the store lists them.
    RecoveryDialog(const QList<RecoveryStore::Entry> &entries, QWidget *parent = nullptr);

    // Runs the dialog; closing it without a choice keeps every entry.
    static Choice choose(const QList<RecoveryStore::Entry> &entries, QWidget *parent = nullptr);

    QListWidget *list() const { return m_list; }
    QCheckBox *checkAll() const { return m_checkAll; }

private:
    QList<RecoveryStore::Entry> checkedEntries() const;
    void recoverChecked();

    QList<RecoveryStore::Entry> m_entries; // newest first, as listed
    QListWidget *m_list;
    QCheckBox *m_checkAll;
    Choice m_choice;
};
