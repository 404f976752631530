#pragma once

#include <QMenu>

class Document;

// File ▸ Reopen with Encoding: reads the document's file again in a chosen encoding, for
// when detection guessed wrong. Lists the common encodings, the current one checked.
class ReopenWithEncodingMenu : public QMenu
{
    Q_OBJECT

public:
    explicit ReopenWithEncodingMenu(Document *document, QWidget *parent = nullptr);

private:
    void rebuild();

    Document *m_document;
};
