#pragma once

#include <QPointer>
#include <QWidget>

class Document;
class QLabel;
class QLineEdit;

// The go-to panel: a search icon and a number field in a transient panel. Return selects
// the subtitle with the typed number, if there is one, and closes the panel whatever was
// typed; the panel also closes as soon as it loses focus.
class GoToSubtitleViewController : public QWidget
{
    Q_OBJECT

public:
    // Opens the panel over `window`, acting on `document` (the window's document), and
    // gives it the keyboard. While a panel is open over `window`, that one is raised
    // instead. The panel deletes itself when it closes.
    static GoToSubtitleViewController *open(Document *document, QWidget *window);

    // The go-to: `text` must be an optional sign and ASCII digits, nothing else, naming a
    // subtitle number n with 1 <= n <= count; then subtitle n - 1 becomes the selection.
    // Anything else changes nothing. Returns whether it selected.
    static bool goToSubtitle(Document *document, const QString &text);

    QLineEdit *numberField() const { return m_numberField; }

private:
    GoToSubtitleViewController(Document *document, QWidget *parent);
    void goToTypedSubtitle();

    QPointer<Document> m_document;
    QLabel *m_imageView;
    QLineEdit *m_numberField;
};
