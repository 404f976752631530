#pragma once

#include "document/Document.h"

#include <QApplication>
#include <QWidget>
#include <QtTest>

#include <memory>

// A document with `count` subtitles, wired as its window wires it, and a shown, active
// stand-in for the document window.
class PanelFixture
{
public:
    explicit PanelFixture(int count = 0)
    {
        document.attachController();
        SubtitleList subtitles;
        for (int i = 0; i < count; ++i)
            subtitles.append(Subtitle::create(QStringLiteral("Line %1").arg(i + 1), 10.0 * i, 10.0 * i + 5));
        document.subtitleController().setSubtitles(subtitles);
        window.resize(640, 400);
        window.show();
        window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &window);
    }

    SubtitleController &controller() { return document.subtitleController(); }

    Document document;
    QWidget window;
};
