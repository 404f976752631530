#include "model/SubtitleMarkup.h"

#include <QTest>

class tst_SubtitleMarkup : public QObject
{
    Q_OBJECT

private slots:
    void render_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("top");
        QTest::newRow("line breaks survive a tag") << "<i>one\ntwo</i>" << "<i>one<br>two</i>" << false;
        QTest::newRow("line breaks without tags") << "one\r\ntwo" << "one<br>two" << false;
        QTest::newRow("bold, underline, upper case tags") << "<B>b</B><u>u</u>" << "<b>b</b><u>u</u>" << false;
        QTest::newRow("font colour with quotes")
            << "<font color=\"#ff0000\">red</font>" << "<font color=\"#ff0000\">red</font>" << false;
        QTest::newRow("font colour by name, no quotes")
            << "<font color=red>red</font>" << "<font color=\"red\">red</font>" << false;
        QTest::newRow("an8 goes to the top and is not shown") << "{\\an8}up" << "up" << true;
        QTest::newRow("an2 stays at the bottom") << "{\\an2}down" << "down" << false;
        QTest::newRow("unknown tags are shown as written")
            << "<c.red>x</c> {\\pos(1,2)}" << "&lt;c.red&gt;x&lt;/c&gt; {\\pos(1,2)}" << false;
        QTest::newRow("a font tag that could inject markup is text")
            << "<font color=\"x\" onload=y>z" << "&lt;font color=\"x\" onload=y&gt;z" << false;
        QTest::newRow("ampersands and comparisons are text") << "a < b & c" << "a &lt; b &amp; c" << false;
    }

    void render()
    {
        QFETCH(QString, text);
        QFETCH(QString, html);
        QFETCH(bool, top);
        const SubtitleMarkup::Rendered rendered = SubtitleMarkup::render(text);
        QCOMPARE(rendered.html, html);
        QCOMPARE(rendered.top, top);
    }

    void toggleItalic_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("expectedStart");
        QTest::addColumn<int>("expectedEnd");
        QTest::newRow("wraps a whole text, line break and all") << "a\nb" << 0 << 3 << "<i>a\nb</i>" << 0 << 10;
        QTest::newRow("unwraps a whole text") << "<i>a\nb</i>" << 0 << 10 << "a\nb" << 0 << 3;
        QTest::newRow("wraps a selected word") << "one two" << 4 << 7 << "one <i>two</i>" << 4 << 14;
        QTest::newRow("unwraps a word selected inside its tags") << "one <i>two</i>" << 7 << 10 << "one two" << 4 << 7;
        QTest::newRow("unwraps a word selected with its tags") << "one <i>two</i>" << 4 << 14 << "one two" << 4 << 7;
    }

    void toggleItalic()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, expected);
        QFETCH(int, expectedStart);
        QFETCH(int, expectedEnd);
        QCOMPARE(SubtitleMarkup::toggledItalic(text, start, end), expected);
        QCOMPARE(start, expectedStart);
        QCOMPARE(end, expectedEnd);
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleMarkup)
#include "tst_subtitlemarkup.moc"
