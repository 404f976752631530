#include "panels/FindReplaceDialog.h"

#include "document/Document.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

FindReplaceDialog *FindReplaceDialog::open(Document *document, QWidget *window, bool replace)
{
    // One find window at a time, searching the document of the window it was asked from.
    static QPointer<FindReplaceDialog> dialog;
    if (dialog && dialog->parentWidget() != window)
        delete dialog;
    if (!dialog)
        dialog = new FindReplaceDialog(document, window);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    QLineEdit *field = replace ? dialog->m_replace : dialog->m_find;
    field->setFocus();
    field->selectAll();
    return dialog;
}

FindReplaceDialog::FindReplaceDialog(Document *document, QWidget *parent)
    : QDialog(parent)
    , m_document(document)
    , m_find(new QLineEdit(this))
    , m_replace(new QLineEdit(this))
    , m_caseSensitive(new QCheckBox(tr("&Match case"), this))
    , m_wholeWords(new QCheckBox(tr("&Whole words"), this))
    , m_regularExpression(new QCheckBox(tr("Regular e&xpression"), this))
    , m_status(new QLabel(this))
{
    setWindowTitle(tr("Find and Replace"));
    m_regularExpression->setToolTip(tr("In the replacement, \\1 stands for the first group in parentheses, "
                                       "\\n for a line break"));
    auto *form = new QFormLayout;
    form->addRow(tr("&Find:"), m_find);
    form->addRow(tr("Replace wi&th:"), m_replace);
    auto *options = new QHBoxLayout;
    options->addWidget(m_caseSensitive);
    options->addWidget(m_wholeWords);
    options->addWidget(m_regularExpression);
    options->addStretch(1);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *next = buttons->addButton(tr("Find &Next"), QDialogButtonBox::ActionRole);
    QPushButton *previous = buttons->addButton(tr("Find &Previous"), QDialogButtonBox::ActionRole);
    QPushButton *replaceButton = buttons->addButton(tr("&Replace"), QDialogButtonBox::ActionRole);
    QPushButton *all = buttons->addButton(tr("Replace &All"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    next->setDefault(true);
    connect(next, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    connect(previous, &QPushButton::clicked, this, &FindReplaceDialog::findPrevious);
    connect(replaceButton, &QPushButton::clicked, this, &FindReplaceDialog::replace);
    connect(all, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    // A changed search starts again from the selection.
    connect(m_find, &QLineEdit::textChanged, this, [this] { m_match.reset(); });
    for (QCheckBox *box : {m_caseSensitive, m_wholeWords, m_regularExpression})
        connect(box, &QCheckBox::toggled, this, [this] { m_match.reset(); });

    m_status->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(options);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
}

void FindReplaceDialog::setStatus(const QString &text, bool problem)
{
    m_status->setStyleSheet(problem ? QStringLiteral("QLabel { color: #c0392b; }") : QString());
    m_status->setText(text);
}

std::optional<SubtitleSearch> FindReplaceDialog::search()
{
    if (!m_document)
        return std::nullopt;
    SubtitleSearch search(m_find->text(), {m_caseSensitive->isChecked(), m_wholeWords->isChecked(),
                                           m_regularExpression->isChecked()});
    if (m_find->text().isEmpty()) {
        setStatus(tr("Type what to find."), true);
        return std::nullopt;
    }
    if (!search.isValid()) {
        setStatus(tr("The regular expression does not read: %1.").arg(search.errorString()), true);
        return std::nullopt;
    }
    return search;
}

bool FindReplaceDialog::findNext()
{
    return find(false);
}

bool FindReplaceDialog::findPrevious()
{
    return find(true);
}

bool FindReplaceDialog::find(bool backwards)
{
    const auto search = this->search();
    if (!search)
        return false;
    const IndexSet &selection = m_document->selectedSubtitleIndexes();
    int subtitle = selection.isEmpty() ? 0 : selection.first();
    qsizetype offset = 0;
    // Go on from the last match while its subtitle is still the one selected.
    if (m_match && selection == IndexSet(m_match->subtitle)) {
        subtitle = m_match->subtitle;
        offset = backwards ? m_match->offset : m_match->offset + m_match->length;
    } else if (backwards && !selection.isEmpty()) {
        offset = m_document->subtitleController().at(subtitle)->text().size();
    }
    m_match = search->find(m_document->subtitleController().subtitles(), subtitle, offset, backwards);
    if (!m_match) {
        setStatus(tr("Not found."), true);
        return false;
    }
    setStatus(tr("Found in subtitle %1.").arg(m_match->subtitle + 1));
    m_document->setSelectedSubtitleIndexes(IndexSet(m_match->subtitle));
    return true;
}

void FindReplaceDialog::replace()
{
    const auto search = this->search();
    if (!search)
        return;
    SubtitleController &controller = m_document->subtitleController();
    if (m_match && m_match->subtitle < controller.count()) {
        const QString text = controller.at(m_match->subtitle)->text();
        if (search->matchesAt(text, m_match->offset, m_match->length)) {
            const QString replaced = search->replacedAt(text, m_match->offset, m_replace->text());
            m_document->undoManager().runAsOneStep(tr("Replace"), [&] { controller.setText(replaced, m_match->subtitle); });
            // Go on after the replacement, not inside it.
            m_match->offset += replaced.size() - text.size() + m_match->length;
            m_match->length = 0;
        }
    }
    findNext();
}

int FindReplaceDialog::replaceAll()
{
    const auto search = this->search();
    if (!search)
        return 0;
    SubtitleController &controller = m_document->subtitleController();
    const SubtitleSearch::Replacement replacement = search->replaceAll(controller.subtitles(), m_replace->text());
    if (replacement.count == 0) {
        setStatus(tr("Not found."), true);
        return 0;
    }
    if (!replacement.indexes.isEmpty()) {
        m_document->undoManager().runAsOneStep(tr("Replace All"), [&] {
            controller.updateSubtitles(replacement.values, replacement.indexes);
        });
    }
    m_match.reset();
    setStatus(tr("Replaced %n occurrence(s).", nullptr, replacement.count));
    return replacement.count;
}
