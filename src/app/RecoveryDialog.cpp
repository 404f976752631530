#include "app/RecoveryDialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

RecoveryDialog::RecoveryDialog(const QList<RecoveryStore::Entry> &entries, QWidget *parent)
    : QDialog(parent)
    , m_entries(entries)
    , m_list(new QListWidget(this))
{
    setWindowTitle(tr("Recover Unsaved Work"));
    auto *message = new QLabel(
        tr("Cuewright quit unexpectedly while you had unsaved changes. Do you want to recover them?"), this);
    message->setWordWrap(true);

    for (const RecoveryStore::Entry &entry : entries) {
        const QString name = entry.originalPath.isEmpty() ? tr("an untitled document")
                                                          : QFileInfo(entry.originalPath).fileName();
        auto *item = new QListWidgetItem(
            tr("%1, last changed %2").arg(name, QLocale().toString(entry.savedAt.toLocalTime(), QLocale::ShortFormat)),
            m_list);
        item->setToolTip(entry.originalPath);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *recover = buttons->addButton(tr("Recover"), QDialogButtonBox::AcceptRole);
    QPushButton *discard = buttons->addButton(tr("Discard"), QDialogButtonBox::DestructiveRole);
    buttons->addButton(tr("Later"), QDialogButtonBox::RejectRole);
    recover->setDefault(true);
    connect(recover, &QPushButton::clicked, this, [this] {
        m_choice.recover = checkedEntries();
        accept();
    });
    connect(discard, &QPushButton::clicked, this, [this] {
        m_choice.discard = checkedEntries();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemChanged, this, [this, recover, discard] {
        const bool any = !checkedEntries().isEmpty();
        recover->setEnabled(any);
        discard->setEnabled(any);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(560, 360);
}

QList<RecoveryStore::Entry> RecoveryDialog::checkedEntries() const
{
    QList<RecoveryStore::Entry> checked;
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->checkState() == Qt::Checked)
            checked.append(m_entries.at(row));
    }
    return checked;
}

RecoveryDialog::Choice RecoveryDialog::choose(const QList<RecoveryStore::Entry> &entries, QWidget *parent)
{
    RecoveryDialog dialog(entries, parent);
    dialog.exec();
    return dialog.m_choice;
}
