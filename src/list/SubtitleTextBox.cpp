#include "list/SubtitleTextBox.h"

#include "document/Document.h"
#include "list/SubtitleTableModel.h"
#include "list/SubtitleTextEditor.h"
#include "model/quality/QualityCheck.h"
#include "model/text/SubtitleMarkup.h"
#include "style/ProblemColour.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScopedValueRollback>
#include <QTextBlock>

#include <cmath>

namespace {

// Every burst of every box has its own number, so that no two share an undo step.
quint64 newBurst()
{
    static quint64 last = 0;
    return ++last;
}

// Each line's visible length, level with the line in the editor beside it.
class LineLengthColumn : public QWidget
{
public:
    LineLengthColumn(SubtitleTextEditor *editor, Document *document, QWidget *parent)
        : QWidget(parent)
        , m_editor(editor)
        , m_document(document)
    {
        setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!m_editor->isEnabled() || !m_document)
            return;
        const QualityLimits &limits = m_document->problemIndex().limits();
        QPainter painter(this);
        painter.setFont(m_editor->font());
        QWidget *viewport = m_editor->viewport();
        const int top = viewport->mapTo(parentWidget(), QPoint()).y() - y();
        int line = 0;
        for (QTextBlock block = m_editor->document()->firstBlock(); block.isValid(); block = block.next()) {
            const int length = QualityCheck::visibleLength(block.text());
            const QRect at = m_editor->cursorRect(QTextCursor(block));
            const QRect cell(0, top + at.top(), width(), at.height());
            if (length > 0)
                ++line;
            if (cell.bottom() < 0 || cell.top() > height() || cell.bottom() > top + viewport->height())
                continue;
            if (length > limits.maxLineLength || (length > 0 && line > limits.maxLines))
                painter.fillRect(cell, ProblemColour::background());
            painter.drawText(cell.adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, QString::number(length));
        }
    }

private:
    SubtitleTextEditor *m_editor;
    QPointer<Document> m_document;
};

} // namespace

SubtitleTextBox::SubtitleTextBox(Document *document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_editor(new SubtitleTextEditor(this))
    , m_readingSpeed(new QLabel(this))
    , m_burst(newBurst())
{
    // Unlike the cell editor, the layout sizes the box, and undo is the document's: every
    // change is already in it.
    m_editor->setFitsHeightToLines(false);
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_editor->setUndoRedoEnabled(false);
    m_editor->installEventFilter(this);
    m_lineLengths = new LineLengthColumn(m_editor, document, this);
    m_lineLengths->setToolTip(tr("Characters in each line"));
    m_lineLengths->setAccessibleName(m_lineLengths->toolTip());
    m_readingSpeed->setAutoFillBackground(true);
    m_readingSpeed->setToolTip(tr("Reading speed: the visible characters over the time on screen"));
    m_editor->setAccessibleName(tr("Subtitle text"));
    m_editor->setAccessibleDescription(tr("The selected subtitle's text; Ctrl+I and Ctrl+B make words italic "
                                          "or bold, Tab goes on to the timeline."));

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_editor, 0, 0);
    layout->addWidget(m_lineLengths, 0, 1);
    layout->addWidget(m_readingSpeed, 1, 0, 1, 2);
    setFocusProxy(m_editor);

    m_pause.setSingleShot(true);
    m_pause.setInterval(burstPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &SubtitleTextBox::endBurst);
    connect(m_editor, &QPlainTextEdit::textChanged, this, &SubtitleTextBox::commitTyping);
    connect(m_editor, &QPlainTextEdit::updateRequest, m_lineLengths, [this] { m_lineLengths->update(); });

    // The document reselects an edited subtitle after each change: only another subtitle
    // ends the burst (followSelection).
    connect(document, &Document::selectionChanged, this, &SubtitleTextBox::followSelection);
    connect(document, &Document::subtitlesReloaded, this, &SubtitleTextBox::followSelection);
    connect(document, &Document::subtitlesRemoved, this, &SubtitleTextBox::followSelection);
    connect(document, &Document::subtitlesUpdated, this, &SubtitleTextBox::subtitleChangedElsewhere);
    connect(document, &Document::subtitlesReordered, this, &SubtitleTextBox::subtitleChangedElsewhere);
    connect(&document->problemIndex(), &ProblemIndex::limitsChanged, this, &SubtitleTextBox::updateMeasures);
    followSelection();
}

void SubtitleTextBox::setSpelling(Spelling *spelling)
{
    m_editor->setSpelling(spelling);
}

void SubtitleTextBox::followSelection()
{
    // A removal is reported before the selection follows it: a stale position may lie past
    // the end until then.
    SubtitlePtr subtitle;
    if (m_document) {
        const IndexSet &selected = m_document->selectedSubtitleIndexes();
        const SubtitleController &controller = m_document->subtitleController();
        if (selected.count() == 1 && selected.first() < controller.count())
            subtitle = controller.at(selected.first());
    }
    if (subtitle == m_subtitle && subtitle)
        return showSubtitleText();
    endBurst();
    m_subtitle = subtitle;
    m_editor->setEnabled(bool(subtitle));
    m_editor->setPlaceholderText(subtitle ? QString() : tr("Select one subtitle to edit its text here"));
    const QScopedValueRollback changing(m_changing, true);
    m_editor->setPlainText(subtitle ? subtitle->text() : QString());
    updateMeasures();
}

void SubtitleTextBox::showSubtitleText()
{
    if (!m_subtitle || m_subtitle->text() == m_editor->toPlainText())
        return updateMeasures();
    QTextCursor cursor = m_editor->textCursor();
    const int anchor = cursor.anchor();
    const int position = cursor.position();
    {
        const QScopedValueRollback changing(m_changing, true);
        m_editor->setPlainText(m_subtitle->text());
    }
    const int last = int(m_editor->toPlainText().size());
    cursor = m_editor->textCursor();
    cursor.setPosition(std::min(anchor, last));
    cursor.setPosition(std::min(position, last), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
    updateMeasures();
}

void SubtitleTextBox::commitTyping()
{
    if (m_changing)
        return;
    commitText(tr("Edit Text"));
    m_pause.start();
}

void SubtitleTextBox::commitText(const QString &name)
{
    updateMeasures();
    if (!m_document || !m_subtitle)
        return;
    const QString text = m_editor->toPlainText();
    SubtitleController &controller = m_document->subtitleController();
    const int index = controller.indexOf(m_subtitle);
    if (index < 0 || text == m_subtitle->text())
        return;
    const QScopedValueRollback changing(m_changing, true);
    m_document->undoManager().runAsPartOfBurst(name, m_burst, [&] { controller.setText(text, index); });
}

void SubtitleTextBox::endBurst()
{
    m_pause.stop();
    m_burst = newBurst();
}

void SubtitleTextBox::subtitleChangedElsewhere()
{
    if (m_changing)
        return;
    // A text changed from elsewhere (the table, undo) starts the next burst afresh.
    if (m_subtitle && m_subtitle->text() != m_editor->toPlainText())
        endBurst();
    showSubtitleText();
}

void SubtitleTextBox::toggleTag(QChar tag)
{
    if (!m_subtitle)
        return;
    QTextCursor cursor = m_editor->textCursor();
    int start = cursor.selectionStart();
    int end = cursor.selectionEnd();
    const bool caret = start == end;
    const int caretPosition = cursor.position();
    const QString before = m_editor->toPlainText();
    const QString text = SubtitleMarkup::toggledTag(before, tag, start, end);
    if (text == before)
        return;
    endBurst();
    {
        const QScopedValueRollback changing(m_changing, true);
        m_editor->setPlainText(text);
    }
    cursor = m_editor->textCursor();
    if (caret) {
        cursor.setPosition(start);
    } else if (caretPosition == cursor.selectionStart()) {
        cursor.setPosition(end);
        cursor.setPosition(start, QTextCursor::KeepAnchor);
    } else {
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
    }
    m_editor->setTextCursor(cursor);
    commitText(tag == u'b' ? tr("Bold") : tr("Italic"));
    endBurst();
}

bool SubtitleTextBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_editor)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QChar tag = key->matches(QKeySequence::Italic) ? u'i' : key->matches(QKeySequence::Bold) ? u'b' : QChar();
        if (event->type() == QEvent::ShortcutOverride
            && (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))) {
            // The editor keeps no undo of its own (every change is already the document's),
            // yet would take these keys from the window's Undo and Redo.
            event->ignore();
            return true;
        }
        if (!tag.isNull()) {
            // Ahead of the window's Italic, which toggles whole subtitles from the list.
            event->accept();
            if (event->type() == QEvent::KeyPress)
                toggleTag(tag);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        endBurst();
    }
    return QWidget::eventFilter(watched, event);
}

void SubtitleTextBox::updateMeasures()
{
    m_lineLengths->update();
    if (!m_subtitle || !m_document) {
        m_readingSpeed->clear();
        m_readingSpeed->setBackgroundRole(QPalette::Window);
        return;
    }
    const QualityLimits &limits = m_document->problemIndex().limits();
    // What the column shows, for a screen reader.
    QStringList lengths;
    for (QTextBlock block = m_editor->document()->firstBlock(); block.isValid(); block = block.next())
        lengths << QString::number(QualityCheck::visibleLength(block.text()));
    m_lineLengths->setAccessibleDescription(
        tr("Characters in each line: %1 (at most %2)").arg(lengths.join(QStringLiteral(", "))).arg(limits.maxLineLength));
    const int characters = QualityCheck::measure(m_editor->toPlainText(), limits.readingCharacters).characters;
    const double speed = QualityCheck::readingSpeed(characters, QualityCheck::duration(*m_subtitle));
    const QString shown = std::isfinite(speed) ? QualityCheck::shownNumber(speed, 1) : QStringLiteral("∞");
    m_readingSpeed->setText(tr("%1 characters per second (at most %2)").arg(shown).arg(limits.maxCharactersPerSecond));
    QPalette palette = m_readingSpeed->palette();
    palette.setColor(QPalette::Window, speed > limits.maxCharactersPerSecond ? ProblemColour::background()
                                                                             : this->palette().color(QPalette::Window));
    m_readingSpeed->setPalette(palette);
}
