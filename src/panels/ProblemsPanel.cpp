#include "panels/ProblemsPanel.h"

#include "document/Document.h"
#include "model/quality/QualityFixes.h"
#include "model/quality/ShotChangeRules.h"
#include "panels/ProblemListModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Lines of text a row holds: the longest descriptions (a shot change's, in German) at a
// width the list beside the panel can spare.
constexpr int rowLines = 3;

// The narrowest width at which `text`, wrapped between words, takes at most `lines` lines.
int wrappedWidth(const QFontMetrics &metrics, const QString &text, int lines)
{
    int low = 1;
    int high = metrics.horizontalAdvance(text) + 1;
    while (low < high) {
        const int middle = (low + high) / 2;
        const QRect bounds = metrics.boundingRect(QRect(0, 0, middle, 1 << 20), Qt::TextWordWrap, text);
        if (bounds.height() <= lines * metrics.lineSpacing() && bounds.width() <= middle)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

// A description of every kind, with numbers as wide as those of a long film (an hour in,
// frame 90000), in the user's language: what the columns must hold without cutting.
QStringList sampleDescriptions()
{
    const QualityLimits limits;
    const double rate = 29.97;
    const SubtitlePtr subtitle = Subtitle::create(QString(3, u'x').repeated(14) + u'\n' + QString(42, u'x'), 3599.96, 3610.58);
    const SubtitlePtr next = Subtitle::create(QStringLiteral("x"), 3610.5, 3612);
    QStringList texts;
    const ShotChanges cuts({3600.0, 3610.7});
    const ShotChangeRules rules(cuts, rate, limits);
    for (const QualityCheck::Problem problem : QualityCheck::allProblems) {
        texts << (QualityCheck::shotChangeProblems & problem
                      ? ProblemIndex::describeShotChange(problem, *subtitle, rules, rate)
                      : QualityCheck::describe(problem, *subtitle, next.get(), limits, limits.minGap(rate)));
    }
    return texts;
}

// Between a cell's edge and its text, on each side (as the item views' style leaves it).
int cellPadding(const QWidget *view)
{
    return 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 4;
}

} // namespace

ProblemsPanel::ProblemsPanel(Document *document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
{
    m_model = new ProblemListModel(document, this);
    m_view = new QTableView(this);
    m_view->setAccessibleName(tr("Problems"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setShowGrid(false);
    m_view->setAlternatingRowColors(true);
    // The row's lines hold every description whole at the panel's first width; the tooltip
    // and the line under the table show it whole at any width.
    m_view->setWordWrap(true);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(rowLines * m_view->fontMetrics().lineSpacing() + 6);
    m_view->horizontalHeader()->setStretchLastSection(true);
    // The description wraps rather than scrolling out of sight.
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->horizontalHeader()->setHighlightSections(false);
    const QFontMetrics metrics = m_view->fontMetrics();
    m_view->horizontalHeader()->resizeSection(ProblemListModel::NumberColumn, metrics.horizontalAdvance(QStringLiteral("0000000")));
    // The longest name of a problem in the user's language, wrapped in the row's lines.
    int kindWidth = metrics.horizontalAdvance(m_model->headerData(ProblemListModel::KindColumn, Qt::Horizontal).toString());
    for (const QualityCheck::Problem problem : QualityCheck::allProblems)
        kindWidth = std::max(kindWidth, wrappedWidth(metrics, QualityCheck::name(problem), rowLines));
    m_view->horizontalHeader()->resizeSection(ProblemListModel::KindColumn, kindWidth + cellPadding(m_view));

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
    connect(document, &Document::subtitlesChanged, this, &ProblemsPanel::forgetOutcome);
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
    // Wide enough that every kind of description fits the lines of its row when the
    // panel first opens; past that width, the tooltip and the line under the table show it.
    const QHeaderView *header = m_view->horizontalHeader();
    const int columns = header->sectionSize(ProblemListModel::NumberColumn) + header->sectionSize(ProblemListModel::KindColumn);
    int description = 0;
    for (const QString &text : sampleDescriptions())
        description = std::max(description, wrappedWidth(m_view->fontMetrics(), text, rowLines));
    const QMargins margins = layout()->contentsMargins();
    return {columns + description + cellPadding(m_view) + m_view->verticalScrollBar()->sizeHint().width()
                + 2 * m_view->frameWidth() + margins.left() + margins.right(),
            QWidget::sizeHint().height()};
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
