#pragma once

#include <QCoreApplication>

class Document;
class QWidget;

// File ▸ Export Quality Report…: the document's problems as the window has them (its
// limits, video rate and shot changes) written as an HTML page or a CSV table, by the
// chosen filter or the name's extension.
class QualityReportExport
{
    Q_DECLARE_TR_FUNCTIONS(QualityReportExport)

public:
    static void run(Document &document, QWidget *parent);
};
