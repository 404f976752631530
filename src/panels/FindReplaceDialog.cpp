#include "panels/FindReplaceDialog.h"

#include "document/Document.h"
#include "style/ProblemColour.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A slice ends after this long, or after this many subtitles, whichever comes first, so
// that the window answers between slices even when each text takes the engine long.
constexpr qint64 sliceMilliseconds = 30;
constexpr int sliceSubtitles = 2000;
constexpr int chunkSubtitles = 32;

// Whether a key is the one for undo (false) or redo (true).
std::optional<bool> undoKey(const QKeyEvent *event)
{
    if (event->matches(QKeySequence::Undo))
        return false;
    if (event->matches(QKeySequence::Redo))
        return true;
    return std::nullopt;
}
} // namespace

FindReplaceDialog *FindReplaceDialog::open(Document *document, QWidget *window)
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
    // Replace starts here too: what to find comes first.
    dialog->m_find->setFocus();
    dialog->m_find->selectAll();
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
    m_stop = buttons->addButton(tr("&Stop"), QDialogButtonBox::ActionRole);
    m_stop->hide();
    m_searchButtons = {next, previous, replaceButton, all};
    buttons->addButton(QDialogButtonBox::Close);
    next->setDefault(true);
    connect(next, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    connect(previous, &QPushButton::clicked, this, &FindReplaceDialog::findPrevious);
    connect(replaceButton, &QPushButton::clicked, this, &FindReplaceDialog::replace);
    connect(all, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    connect(m_stop, &QPushButton::clicked, this, &FindReplaceDialog::stop);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    // A changed search starts again from the selection; one under way is stopped.
    connect(m_find, &QLineEdit::textChanged, this, [this] { m_match.reset(); stop(); });
    for (QCheckBox *box : {m_caseSensitive, m_wholeWords, m_regularExpression})
        connect(box, &QCheckBox::toggled, this, [this] { m_match.reset(); stop(); });
    // A search reads the list in slices, between which the list may change: any change
    // ends it before its next slice would read the changed list.
    const auto listChanged = [this] {
        if (!m_run)
            return;
        m_sliceTimer.stop();
        m_run.reset();
        endRun(tr("The subtitles changed, so the search stopped."), true);
    };
    connect(document, &Document::subtitlesChanged, this, listChanged);
    m_sliceTimer.setSingleShot(true);
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &FindReplaceDialog::runSlice);

    // The document's undo works here too, once the field being typed in has nothing
    // left of its own to undo. Handled as keys, not shortcuts: they stay this window's.
    m_find->installEventFilter(this);
    m_replace->installEventFilter(this);

    m_status->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(options);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
}

bool FindReplaceDialog::eventFilter(QObject *watched, QEvent *event)
{
    // A field would undo only its own typing; the key comes here instead.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        if (const auto redo = undoKey(static_cast<QKeyEvent *>(event))) {
            if (event->type() == QEvent::KeyPress)
                undoOrRedo(*redo);
            event->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FindReplaceDialog::keyPressEvent(QKeyEvent *event)
{
    if (const auto redo = undoKey(event)) // from a check box or a button
        undoOrRedo(*redo);
    else
        QDialog::keyPressEvent(event);
}

void FindReplaceDialog::undoOrRedo(bool redo)
{
    auto *field = qobject_cast<QLineEdit *>(focusWidget());
    if (field && (redo ? field->isRedoAvailable() : field->isUndoAvailable())) {
        redo ? field->redo() : field->undo();
        return;
    }
    if (m_document)
        redo ? m_document->undoManager().redo() : m_document->undoManager().undo();
}

void FindReplaceDialog::hideEvent(QHideEvent *event)
{
    stop();
    QDialog::hideEvent(event);
}

void FindReplaceDialog::setStatus(const QString &text, bool problem)
{
    m_status->setStyleSheet(problem ? ProblemColour::labelStyleSheet() : QString());
    m_status->setText(text);
}

std::optional<SubtitleSearch> FindReplaceDialog::search()
{
    if (!m_document || m_run)
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

void FindReplaceDialog::findNext()
{
    find(false);
}

void FindReplaceDialog::findPrevious()
{
    find(true);
}

void FindReplaceDialog::find(bool backwards)
{
    auto search = this->search();
    if (!search)
        return;
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
    start({std::move(*search), {}, false, backwards, subtitle, offset, {}, {}});
}

void FindReplaceDialog::replace()
{
    auto search = this->search();
    if (!search)
        return;
    SubtitleController &controller = m_document->subtitleController();
    if (m_match && m_match->subtitle < controller.count()) {
        const QString text = controller.at(m_match->subtitle)->text();
        if (const auto replaced = search->replacedAt(text, *m_match, m_replace->text())) {
            // The same text again is no change: no undo step, and the document stays clean.
            if (*replaced != text) {
                m_document->undoManager().runAsOneStep(tr("Replace"), [&] {
                    controller.setText(*replaced, m_match->subtitle);
                });
            }
            // Go on after the replacement, not inside it.
            m_match->offset += replaced->size() - text.size() + m_match->length;
            m_match->length = 0;
        }
    }
    findNext();
}

void FindReplaceDialog::replaceAll()
{
    auto search = this->search();
    if (!search)
        return;
    start({std::move(*search), {}, true, false, 0, 0, m_replace->text(), {}});
}

void FindReplaceDialog::start(Run run)
{
    m_run.emplace(std::move(run));
    for (QPushButton *button : std::as_const(m_searchButtons))
        button->setEnabled(false);
    m_sliceTimer.start();
}

void FindReplaceDialog::stop()
{
    if (!m_run)
        return;
    const bool replacing = m_run->replaceAll;
    m_sliceTimer.stop();
    m_run.reset();
    endRun(replacing ? tr("Stopped; nothing was replaced.") : tr("Stopped."), false);
}

void FindReplaceDialog::runSlice()
{
    if (!m_run || !m_document)
        return;
    const SubtitleList &subtitles = m_document->subtitleController().subtitles();
    Run &run = *m_run;
    std::optional<SubtitleSearch::Match> match;
    QElapsedTimer clock;
    clock.start();
    for (int searched = 0; !run.progress.done && searched < sliceSubtitles && clock.elapsed() < sliceMilliseconds;
         searched += chunkSubtitles) {
        if (run.replaceAll)
            run.search.replaceAll(subtitles, run.replacementText, run.replacement, run.progress, chunkSubtitles);
        else
            match = run.search.find(subtitles, run.subtitle, run.offset, run.backwards, run.progress, chunkSubtitles);
    }
    if (!run.progress.done) {
        const int steps = int(subtitles.size()) + (run.replaceAll ? 0 : 1);
        // Only a search that takes a while shows how far it is and how to stop it.
        m_stop->show();
        setStatus(tr("Searching… %1 of %2 subtitles").arg(locale().toString(run.progress.step), locale().toString(steps)));
        emit searchProgressed(run.progress.step, steps);
        if (m_run) // not stopped meanwhile
            m_sliceTimer.start();
        return;
    }
    const Run finished = std::move(run);
    m_run.reset();
    if (finished.progress.tooComplex) {
        endRun(finished.replaceAll ? tr("The expression is too complex to search with; nothing was replaced.")
                                   : tr("The expression is too complex to search with."),
               true);
        return;
    }
    finished.replaceAll ? finishReplaceAll(finished.replacement) : finishFind(match);
}

void FindReplaceDialog::finishFind(const std::optional<SubtitleSearch::Match> &match)
{
    m_match = match;
    if (!m_match) {
        endRun(tr("Not found."), true);
        return;
    }
    m_document->setSelectedSubtitleIndexes(IndexSet(m_match->subtitle));
    endRun(tr("Found in subtitle %1.").arg(m_match->subtitle + 1), false);
}

void FindReplaceDialog::finishReplaceAll(const SubtitleSearch::Replacement &replacement)
{
    if (replacement.count == 0) {
        endRun(tr("Not found."), true);
        return;
    }
    if (!replacement.indexes.isEmpty()) {
        SubtitleController &controller = m_document->subtitleController();
        m_document->undoManager().runAsOneStep(tr("Replace All"), [&] {
            controller.updateSubtitles(replacement.values, replacement.indexes);
        });
    }
    m_match.reset();
    endRun(tr("Replaced %n occurrence(s).", nullptr, replacement.count), false);
}

void FindReplaceDialog::endRun(const QString &status, bool problem)
{
    for (QPushButton *button : std::as_const(m_searchButtons))
        button->setEnabled(true);
    m_stop->hide();
    setStatus(status, problem);
    emit searchFinished();
}
