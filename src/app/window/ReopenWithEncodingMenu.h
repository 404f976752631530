#pragma once

#include <QMenu>

#include <functional>

class Document;

// File ▸ Reopen with Encoding: reads the document's file again in a chosen encoding, for
// when detection guessed wrong. Lists the common encodings, the current one checked.
class ReopenWithEncodingMenu : public QMenu
{
    Q_OBJECT

public:
    // `reopen` reads the document's file again in the encoding picked.
    ReopenWithEncodingMenu(Document *document, std::function<void(int encoding)> reopen, QWidget *parent = nullptr);

private:
    void rebuild();

    Document *m_document;
    std::function<void(int encoding)> m_reopen;
};
