#include "panels/TimingDialog.h"

#include "document/Document.h"
#include "document/Player.h"
#include "model/FrameTiming.h"
#include "style/ProblemColour.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QKeyEvent>
#include <QVBoxLayout>

#include <memory>
#include <vector>

namespace {

using KeyEvents = std::vector<std::unique_ptr<QKeyEvent>>;

// Holds back every key that reaches the application while it lives.
class KeyCatcher : public QObject
{
public:
    KeyCatcher() { QCoreApplication::instance()->installEventFilter(this); }
    ~KeyCatcher() override { QCoreApplication::instance()->removeEventFilter(this); }

    KeyEvents keys;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            event->accept(); // no shortcut of the window: the keys are the dialog's
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            keys.emplace_back(static_cast<QKeyEvent *>(event->clone()));
            return true;
        default:
            return false;
        }
    }
};

} // namespace

TimingDialog::TimingDialog(Document *document, const QString &title, QWidget *parent)
    : QDialog(parent)
    , m_document(document)
    , m_form(new QFormLayout)
    , m_message(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(title);
    m_message->setWordWrap(true);
    m_message->setStyleSheet(ProblemColour::labelStyleSheet());
    m_message->hide();
    connect(m_buttons, &QDialogButtonBox::accepted, this, &TimingDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addWidget(m_message);
    layout->addStretch(1);
    layout->addWidget(m_buttons);
}

// The widgets of a layout, in the order the user reads them.
static void collectFocusWidgets(QLayout *layout, QList<QWidget *> &widgets)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (QWidget *widget = item->widget()) {
            if (widget->focusPolicy() & Qt::TabFocus)
                widgets << widget;
        } else if (item->layout()) {
            collectFocusWidgets(item->layout(), widgets);
        }
    }
}

void TimingDialog::showEvent(QShowEvent *event)
{
    // Tab goes down the form and then to the buttons, whatever order the widgets were made in.
    QList<QWidget *> widgets;
    collectFocusWidgets(layout(), widgets);
    for (qsizetype i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
    if (!widgets.isEmpty())
        QWidget::setTabOrder(widgets.last(), m_buttons);
    QDialog::showEvent(event);
}

int TimingDialog::exec()
{
    // Once the dialog is up, the window system's keys still addressed to the window are
    // dropped: take them before it shows.
    auto typed = std::make_shared<KeyEvents>();
    {
        KeyCatcher catcher;
        QCoreApplication::processEvents();
        *typed = std::move(catcher.keys);
    }
    if (!typed->empty()) {
        QMetaObject::invokeMethod(this, [this, typed] {
            for (const auto &key : *typed) {
                if (!isVisible())
                    break; // a Return among them closed the dialog
                QWidget *target = QApplication::focusWidget();
                if (!target || target->window() != this)
                    target = focusWidget() ? focusWidget() : this;
                QCoreApplication::sendEvent(target, key.get());
            }
        }, Qt::QueuedConnection);
    }
    return QDialog::exec();
}

void TimingDialog::accept()
{
    m_message->hide();
    if (!m_document) {
        reject();
        return;
    }
    if (apply())
        QDialog::accept();
}

void TimingDialog::showError(const QString &message)
{
    m_message->setText(message);
    m_message->show();
}

std::optional<double> TimingDialog::playbackTime() const
{
    if (!m_document || !m_document->player())
        return std::nullopt;
    return FrameTiming::snapToFrame(m_document->player()->currentTime(), m_document->frameRate());
}

QLineEdit *TimingDialog::addTimeRow(const QString &label, double seconds, const QString &buttonText,
                                    std::function<std::optional<double>()> fromVideo)
{
    auto *field = new QLineEdit(timeText(seconds), this);
    auto *row = new QHBoxLayout;
    row->addWidget(field, 1);
    auto *button = new QPushButton(buttonText, this);
    button->setAutoDefault(false);
    button->setEnabled(playbackTime().has_value());
    button->setToolTip(tr("Takes the time from the playback position"));
    connect(button, &QPushButton::clicked, this, [this, field, fromVideo] {
        if (const auto time = fromVideo())
            field->setText(timeText(*time));
    });
    row->addWidget(button);
    // The label names the field itself, for its mnemonic and for a screen reader: beside
    // a row, a form would name nothing.
    auto *named = new QLabel(label, this);
    named->setBuddy(field);
    m_form->addRow(named, row);
    return field;
}

QString TimingDialog::timeText(double seconds) const
{
    return m_document ? m_document->timeDisplay().format(seconds) : TimeDisplay().format(seconds);
}

std::optional<double> TimingDialog::readTime(QLineEdit *field, const QString &what)
{
    const auto time = (m_document ? m_document->timeDisplay() : TimeDisplay()).parse(field->text());
    if (time)
        return time.value();
    showError(tr("%1: %2", "what is wrong with a field: the field, then why").arg(what, time.error()));
    field->setFocus();
    field->selectAll();
    return std::nullopt;
}
