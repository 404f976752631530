#pragma once

#include "app/RecoveryStore.h"

#include <QDialog>

class QListWidget;

// Offers the work that crashed sessions left unsaved, in a scrolling list of checkable
// entries however many there are: the user recovers or discards the checked ones;
// unchecked entries stay for the next start.
class RecoveryDialog : public QDialog
{
    Q_OBJECT

public:
    struct Choice
    {
        QList<RecoveryStore::Entry> recover;
        QList<RecoveryStore::Entry> discard;
    };

    RecoveryDialog(const QList<RecoveryStore::Entry> &entries, QWidget *parent = nullptr);

    // Runs the dialog; closing it without a choice keeps every entry.
    static Choice choose(const QList<RecoveryStore::Entry> &entries, QWidget *parent = nullptr);

    QListWidget *list() const { return m_list; }

private:
    QList<RecoveryStore::Entry> checkedEntries() const;

    QList<RecoveryStore::Entry> m_entries;
    QListWidget *m_list;
    Choice m_choice;
};
