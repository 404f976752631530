#include "panels/ProblemsPanel.h"

#include "document/Document.h"
#include "model/QualityFixes.h"
#include "panels/ProblemListModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
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
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->horizontalHeader()->setStretchLastSection(true);
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
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_fixButton);
    buttons->addWidget(m_fixAllButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_summary);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    connect(m_fixButton, &QPushButton::clicked, this, &ProblemsPanel::fixSelected);
    connect(m_fixAllButton, &QPushButton::clicked, this, &ProblemsPanel::fixAll);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ProblemsPanel::pushSelection);
    connect(m_model, &ProblemListModel::refreshed, this, [this] {
        selectRowOfSelection();
        updateSummary();
    });
    connect(document, &Document::selectionChanged, this, &ProblemsPanel::selectRowOfSelection);
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
    const bool fixed = QualityFixes::fix(m_document->subtitleController(), m_document->problemIndex(), position, problem);
    m_message = fixed ? QString() : tr("No room to fix subtitle %1: change it by hand.").arg(position + 1);
    updateSummary();
}

void ProblemsPanel::fixAll()
{
    if (!m_document)
        return;
    const int fixed = QualityFixes::fixAll(m_document->subtitleController(), m_document->problemIndex());
    m_message = fixed ? tr("Fixed %n subtitle(s).", nullptr, fixed) : tr("Nothing left that a fix can mend.");
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
}
