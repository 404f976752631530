#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

// The button of `window` whose text, without its mnemonic, is `text`.
inline QAbstractButton *buttonOf(QWidget *window, const QString &text)
{
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->text().remove(u'&') == text)
            return button;
    }
    return nullptr;
}

// Answers what opens while a test runs: each new dialog with the next of `buttons`, and
// once they are used up, a message box with its default (or, made by answerNext(), no
// more); a context menu with the item chosen. It keeps what the message boxes said and
// what the menus offered, "(off)" after a disabled item.
class ModalAnswers : public QObject
{
public:
    explicit ModalAnswers(QStringList buttons = {}, QString *shown = nullptr, bool once = false)
        : m_buttons(std::move(buttons)), m_shown(shown), m_once(once)
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswers::poll);
        m_timer.start(10);
    }
    void chooseInMenu(const QString &text) { m_menuChoice = text; }

    QStringList alerts;
    QStringList menuItems;

private:
    void poll()
    {
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog && dialog != m_answered) {
            m_answered = dialog;
            auto *box = qobject_cast<QMessageBox *>(dialog);
            if (box)
                alerts << box->text();
            if (box && m_shown)
                *m_shown = box->text();
            if (m_buttons.isEmpty() && box) {
                box->accept();
            } else if (!m_buttons.isEmpty()) {
                const QString text = m_buttons.takeFirst();
                if (m_once && m_buttons.isEmpty()) {
                    m_timer.stop();
                    deleteLater();
                }
                QAbstractButton *button = buttonOf(dialog, text);
                QVERIFY2(button, qPrintable(QStringLiteral("no button %1 in “%2”").arg(text, dialog->windowTitle())));
                button->click();
            }
        }
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            QAction *choice = nullptr;
            for (QAction *action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                menuItems.append(action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (off)")));
                if (action->text() == m_menuChoice)
                    choice = action;
            }
            menu->close();
            if (choice)
                choice->trigger();
        }
    }

    QTimer m_timer;
    QStringList m_buttons;
    QString *m_shown;
    bool m_once;
    QPointer<QWidget> m_answered;
    QString m_menuChoice;
};

// Answers the next dialogs, each as it appears, with the buttons whose texts are given,
// then goes; `shown` gets the last message box's text. Delete it if no dialog came.
inline QPointer<ModalAnswers> answerNext(const QStringList &buttons, QString *shown = nullptr)
{
    return new ModalAnswers(buttons, shown, true);
}
