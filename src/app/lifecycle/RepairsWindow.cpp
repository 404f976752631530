#include "app/lifecycle/RepairsWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

RepairsWindow::RepairsWindow(const QString &fileName, const QList<TolerantSubtitleReader::Repair> &repairs,
                             qsizetype unlistedRepairs, QWidget *parent)
    : QDialog(parent)
    , m_text(new QPlainTextEdit(this))
{
    setWindowTitle(tr("Repairs in “%1”").arg(fileName));
    setAttribute(Qt::WA_DeleteOnClose);
    const qsizetype count = repairs.size() + unlistedRepairs;
    auto *label = new QLabel(count == 1 ? tr("One problem was repaired. The file on disk is unchanged until you save.")
                                        : tr("%1 problems were repaired. The file on disk is unchanged until you save.").arg(count),
                             this);
    label->setWordWrap(true);
    m_text->setReadOnly(true);
    m_text->setPlainText(describe(repairs, unlistedRepairs));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *copy = buttons->addButton(tr("Copy"), QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(m_text->toPlainText()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_text, 1);
    layout->addWidget(buttons);
    resize(640, 360);
}

QString RepairsWindow::describe(const QList<TolerantSubtitleReader::Repair> &repairs, qsizetype unlistedRepairs)
{
    QStringList lines;
    for (const TolerantSubtitleReader::Repair &repair : repairs)
        lines << TolerantSubtitleReader::describe(repair);
    if (unlistedRepairs > 0)
        lines << TolerantSubtitleReader::describeUnlisted(unlistedRepairs);
    return lines.join(u'\n');
}
