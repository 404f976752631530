#pragma once

#include <QLabel>

class Document;

// The status bar's account of how the document's file is stored: its subtitle format, its
// encoding by the name people know and its line endings, e.g. "SRT · Unicode (UTF-8) · LF".
class DocumentFormatLabel : public QLabel
{
    Q_OBJECT

public:
    explicit DocumentFormatLabel(Document *document, QWidget *parent = nullptr);

private:
    void update();

    Document *m_document;
};
