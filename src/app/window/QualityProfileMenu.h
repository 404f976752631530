#pragma once

#include <QMenu>
#include <QPointer>

class Document;

// The quality profiles to check one document by, the document's own checked; the list
// is read as the menu opens, so profiles made meanwhile are there.
class QualityProfileMenu : public QMenu
{
    Q_OBJECT

public:
    explicit QualityProfileMenu(Document *document, QWidget *parent = nullptr);

private:
    void fill();

    QPointer<Document> m_document;
};
