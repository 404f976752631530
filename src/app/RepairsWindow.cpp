#include "app/RepairsWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

RepairsWindow::RepairsWindow(const QString &fileName, const QList<TolerantSubtitleReader::Repair> &repairs, QWidget *parent)
    : QDialog(parent)
    , m_text(new QPlainTextEdit(this))
{
    setWindowTitle(tr("Repairs in “%1”").arg(fileName));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *label = new QLabel(repairs.size() == 1
                                 ? tr("One problem was repaired. The file on disk is unchanged until you save.")
                                 : tr("%1 problems were repaired. The file on disk is unchanged until you save.").arg(repairs.size()),
                             this);
    label->setWordWrap(true);
    m_text->setReadOnly(true);
    m_text->setPlainText(describe(repairs));

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

QString RepairsWindow::describe(const QList<TolerantSubtitleReader::Repair> &repairs)
{
    QStringList lines;
    for (const TolerantSubtitleReader::Repair &repair : repairs)
        lines << tr("Line %1: %2").arg(repair.line).arg(repair.description);
    return lines.join(u'\n');
}
