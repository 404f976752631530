#pragma once

#include <QDialog>

#include <functional>

class QPushButton;
class QTabWidget;

// Edit ▸ Preferences: one tab per page. OK applies every page, in the order they were
// added; Cancel applies none. OK is refused while the keyboard page shows clashing keys.
class PreferencesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PreferencesDialog(QWidget *parent = nullptr);

    // Adds a page (the dialog takes it); `apply` runs when the user presses OK.
    void addPage(QWidget *page, const QString &title, std::function<void()> apply = {});
    QTabWidget *pages() const { return m_tabs; }

    // Every page of the application; the keyboard page shows the keys of the window
    // the dialog was opened from.
    void addApplicationPages();
    // The dialog with every page of the application, run modally over `parent`.
    static void run(QWidget *parent);

private:
    void applyPages();

    QTabWidget *m_tabs = nullptr;
    QPushButton *m_ok = nullptr;
    QList<std::function<void()>> m_apply;
};
