#include "panels/ProblemsPanel.h"

#include "document/Document.h"
#include "model/QualityFixes.h"
#include "panels/ProblemListModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

ProblemsPanel::ProblemsPanel(Document *document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
{
    m_model = new ProblemListModel(document, this);
    m_view = new QTableView(this);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setShowGrid(false);
    m_view->setAlternatingRowColors(true);
    // Two lines a row hold most descriptions whole in a narrow panel; the line under the
    // table shows the selected one whole in any case.
    m_view->setWordWrap(true);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(2 * m_view->fontMetrics().lineSpacing() + 6);
    m_view->horizontalHeader()->setStretchLastSection(true);
    // The description wraps rather than scrolling out of sight.
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->horizontalHeader()->setHighlightSections(false);
    const QFontMetrics metrics = m_view->fontMetrics();
    m_view->horizontalHeader()->resizeSection(ProblemListModel::NumberColumn, metrics.horizontalAdvance(QStringLiteral("0000000")));
    m_view->horizontalHeader()->resizeSection(ProblemListModel::KindColumn, metrics.horizontalAdvance(QStringLiteral("Too many lines")) + 16);

    m_summary = new QLabel(this);
    m_summary->setTextFormat(Qt::PlainText);
    m_fixButton = new QPushButton(tr("Fi&x"), this);
    m_fixButton->setToolTip(tr("Mends the selected problem"));
    m_fixAllButton = new QPushButton(tr("Fix &All"), this);
    m_fixAllButton->setToolTip(tr("Mends every problem that can be mended, as one undo step"));
    m_summary->setWordWrap(true);
    m_detail = new QLabel(this);
    m_detail->setTextFormat(Qt::PlainText);
    m_detail->setWordWrap(true);
    m_detail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_fixButton);
    buttons->addWidget(m_fixAllButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_summary);
    layout->addWidget(m_view);
    layout->addWidget(m_detail);
    layout->addLayout(buttons);

    connect(m_fixButton, &QPushButton::clicked, this, &ProblemsPanel::fixSelected);
    connect(m_fixAllButton, &QPushButton::clicked, this, &ProblemsPanel::fixAll);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ProblemsPanel::pushSelection);
    connect(m_model, &ProblemListModel::refreshed, this, [this] {
        selectRowOfSelection();
        updateSummary();
    });
    connect(document, &Document::selectionChanged, this, &ProblemsPanel::selectRowOfSelection);
    connect(document, &Document::subtitlesReloaded, this, &ProblemsPanel::forgetOutcome);
    connect(document, &Document::subtitlesInserted, this, &ProblemsPanel::forgetOutcome);
    connect(document, &Document::subtitlesRemoved, this, &ProblemsPanel::forgetOutcome);
    connect(document, &Document::subtitlesUpdated, this, &ProblemsPanel::forgetOutcome);
    connect(&document->problemIndex(), &ProblemIndex::limitsChanged, this, &ProblemsPanel::forgetOutcome);
    updateSummary();
}

void ProblemsPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_model->setLive(true);
    selectRowOfSelection();
    updateSummary();
}

void ProblemsPanel::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_model->setLive(false);
}

QSize ProblemsPanel::sizeHint() const
{
    // Wide enough that a description such as "40.0 characters per second; at most 20"
    // fits the two lines of its row when the panel first opens.
    const QHeaderView *header = m_view->horizontalHeader();
    const int columns = header->sectionSize(ProblemListModel::NumberColumn) + header->sectionSize(ProblemListModel::KindColumn);
    const int description = m_view->fontMetrics().horizontalAdvance(QStringLiteral("characters per second;")) + 24;
    return {columns + description + m_view->verticalScrollBar()->sizeHint().width() + 16, QWidget::sizeHint().height()};
}

void ProblemsPanel::goToNextProblem()
{
    goToProblem(true);
}

void ProblemsPanel::goToPreviousProblem()
{
    goToProblem(false);
}

void ProblemsPanel::goToProblem(bool forward)
{
    if (!m_document)
        return;
    const IndexSet &selection = m_document->selectedSubtitleIndexes();
    const ProblemIndex &index = m_document->problemIndex();
    const std::optional<int> position =
        forward ? index.nextProblem(selection.isEmpty() ? -1 : selection.last())
                : index.previousProblem(selection.isEmpty() ? -1 : selection.first());
    if (position)
        m_document->setSelectedSubtitleIndexes(IndexSet(*position));
}

void ProblemsPanel::fixSelected()
{
    if (!m_document)
        return;
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const auto [position, problem] = m_model->problemAt(rows.first().row());
    if (position < 0)
        return;
    m_isFixing = true;
    const QualityFixes::Outcome outcome =
        QualityFixes::fix(m_document->subtitleController(), m_document->problemIndex(), position, problem);
    m_isFixing = false;
    m_message.clear();
    for (const auto &[kind, count] : outcome.left) {
        if (kind.first == problem)
            m_message = tr("Subtitle %1 left as it is: %2.").arg(position + 1).arg(QualityFixes::reasonText(kind.second));
    }
    updateSummary();
}

void ProblemsPanel::fixAll()
{
    if (!m_document)
        return;
    m_isFixing = true;
    const QualityFixes::Outcome outcome =
        QualityFixes::fixAll(m_document->subtitleController(), m_document->problemIndex());
    m_isFixing = false;
    m_message = outcome.summary();
    updateSummary();
}

void ProblemsPanel::forgetOutcome()
{
    if (m_isFixing || m_message.isEmpty())
        return;
    m_message.clear();
    updateSummary();
}

void ProblemsPanel::selectRowOfSelection()
{
    if (!m_document || !isVisible())
        return;
    const IndexSet &selection = m_document->selectedSubtitleIndexes();
    const int row = selection.isEmpty() ? -1 : m_model->firstRowOf(selection.first());
    const QModelIndexList current = m_view->selectionModel()->selectedRows();
    // A selected row of the same subtitle stays: the user may have picked its second problem.
    if (row >= 0 && !current.isEmpty() && m_model->problemAt(current.first().row()).first == selection.first())
        return;
    m_isApplyingSelection = true;
    if (row < 0) {
        m_view->clearSelection();
    } else {
        m_view->selectRow(row);
        m_view->scrollTo(m_model->index(row, 0));
    }
    m_isApplyingSelection = false;
}

void ProblemsPanel::pushSelection()
{
    if (!m_isApplyingSelection)
        m_message.clear();
    updateSummary();
    if (m_isApplyingSelection || !m_document)
        return;
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    const int position = m_model->problemAt(rows.first().row()).first;
    if (position >= 0 && position < m_document->subtitleController().count())
        m_document->setSelectedSubtitleIndexes(IndexSet(position));
}

void ProblemsPanel::updateSummary()
{
    if (!m_document)
        return;
    const int subtitles = m_document->problemIndex().subtitlesWithProblems();
    QString text = subtitles == 0 ? tr("No problems") : tr("%n subtitle(s) with problems", nullptr, subtitles);
    if (!m_message.isEmpty())
        text = m_message + QLatin1Char(' ') + text;
    m_summary->setText(text);
    m_fixButton->setEnabled(m_view->selectionModel()->hasSelection());
    m_fixAllButton->setEnabled(subtitles > 0);
    updateDetail();
}

void ProblemsPanel::updateDetail()
{
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    const auto [position, problem] = m_model->problemAt(rows.isEmpty() ? -1 : rows.first().row());
    if (position < 0 || !m_document) {
        m_detail->clear();
        return;
    }
    m_detail->setText(tr("Subtitle %1 · %2: %3", "number, kind of problem, description")
                          .arg(position + 1)
                          .arg(QualityCheck::name(problem), m_document->problemIndex().describe(position, problem)));
}
