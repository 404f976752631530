#pragma once

#include <QToolButton>

class Document;
class QMenu;

// The status bar's name of the profile the document is checked by; a click offers the
// others.
class QualityProfileButton : public QToolButton
{
    Q_OBJECT

public:
    QualityProfileButton(Document *document, QMenu *profiles, QWidget *parent = nullptr);

private:
    void updateText();

    Document *m_document;
};
