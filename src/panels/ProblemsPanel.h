#pragma once

#include <QPointer>
#include <QWidget>

class Document;
class ProblemListModel;
class QLabel;
class QPushButton;
class QTableView;

// View ▸ Problems: every quality problem of the document, live. Selecting a row selects
// its subtitle in every pane and shows its description whole under the table; Fix mends
// the selected problem and Fix All every one that can be mended, each as one undo step,
// and the line above the table says what was mended and what was left, and why, until
// the list or the limits change.
class ProblemsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ProblemsPanel(Document *document, QWidget *parent = nullptr);

    ProblemListModel *model() const { return m_model; }
    QTableView *view() const { return m_view; }
    QSize sizeHint() const override;

    // Selects the next (previous) subtitle with a problem after (before) the selection,
    // going round the end of the list. Works while the panel is hidden too.
    void goToNextProblem();
    void goToPreviousProblem();
    void fixSelected();
    void fixAll();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void goToProblem(bool forward);
    void selectRowOfSelection();
    void pushSelection();
    void updateSummary();
    void updateDetail();
    // A change the user made (not the panel's own fix) makes the last outcome stale.
    void forgetOutcome();

    QPointer<Document> m_document;
    ProblemListModel *m_model = nullptr;
    QTableView *m_view = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_detail = nullptr; // the selected problem, described whole
    QPushButton *m_fixButton = nullptr;
    QPushButton *m_fixAllButton = nullptr;
    QString m_message; // the outcome of the last fix, until the user picks a row or changes something
    bool m_isApplyingSelection = false;
    bool m_isFixing = false;
};
