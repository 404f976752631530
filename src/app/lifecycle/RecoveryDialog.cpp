#include "app/lifecycle/RecoveryDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

RecoveryDialog::RecoveryDialog(const QList<RecoveryStore::Entry> &entries, QWidget *parent)
    : QDialog(parent)
    , m_entries(entries)
    , m_list(new QListWidget(this))
    , m_checkAll(new QCheckBox(tr("Check all"), this))
{
    std::reverse(m_entries.begin(), m_entries.end());
    setWindowTitle(tr("Recover Unsaved Work"));
    auto *message = new QLabel(
        tr("Cuewright quit unexpectedly while you had unsaved changes. Do you want to recover them?"), this);
    message->setWordWrap(true);
    const QLocale locale;
    auto *count = new QLabel(
        m_entries.size() > handful
            ? tr("%1 documents were left unsaved; the newest %2 are checked. Unchecked ones are kept for later.")
                  .arg(locale.toString(m_entries.size()))
                  .arg(handful)
            : QString(),
        this);
    count->setWordWrap(true);
    count->setVisible(m_entries.size() > handful);

    for (qsizetype row = 0; row < m_entries.size(); ++row) {
        const RecoveryStore::Entry &entry = m_entries.at(row);
        const QString name = entry.originalPath.isEmpty() ? tr("an untitled document")
                                                          : QFileInfo(entry.originalPath).fileName();
        auto *item = new QListWidgetItem(
            tr("%1, last changed %2").arg(name, locale.toString(entry.savedAt.toLocalTime(), QLocale::ShortFormat)),
            m_list);
        item->setToolTip(entry.originalPath);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(row < handful ? Qt::Checked : Qt::Unchecked);
    }
    m_checkAll->setVisible(m_entries.size() > handful);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *recover = buttons->addButton(tr("Recover"), QDialogButtonBox::AcceptRole);
    QPushButton *discard = buttons->addButton(tr("Discard"), QDialogButtonBox::DestructiveRole);
    buttons->addButton(tr("Later"), QDialogButtonBox::RejectRole);
    recover->setDefault(true);
    connect(recover, &QPushButton::clicked, this, &RecoveryDialog::recoverChecked);
    connect(discard, &QPushButton::clicked, this, [this] {
        m_choice.discard = checkedEntries();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_checkAll, &QCheckBox::toggled, this, [this](bool checked) {
        for (int row = 0; row < m_list->count(); ++row)
            m_list->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    });
    connect(m_list, &QListWidget::itemChanged, this, [this, recover, discard] {
        const bool any = !checkedEntries().isEmpty();
        recover->setEnabled(any);
        discard->setEnabled(any);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addWidget(count);
    layout->addWidget(m_checkAll);
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

void RecoveryDialog::recoverChecked()
{
    const QList<RecoveryStore::Entry> checked = checkedEntries();
    if (checked.size() > handful) {
        QMessageBox box(QMessageBox::Question, tr("Recover Unsaved Work"),
                        tr("Recover %1 documents? Each opens in its own window.").arg(QLocale().toString(checked.size())),
                        QMessageBox::Cancel, this);
        QPushButton *open = box.addButton(tr("Open %1 Windows").arg(QLocale().toString(checked.size())),
                                          QMessageBox::AcceptRole);
        box.setDefaultButton(QMessageBox::Cancel);
        box.exec();
        if (box.clickedButton() != open)
            return; // back to the list
    }
    m_choice.recover = checked;
    accept();
}

RecoveryDialog::Choice RecoveryDialog::choose(const QList<RecoveryStore::Entry> &entries, QWidget *parent)
{
    RecoveryDialog dialog(entries, parent);
    dialog.exec();
    return dialog.m_choice;
}
