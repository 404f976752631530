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
        QTest::newRow("an7 (top left) goes to the top and is not shown") << "{\\an7}up" << "up" << true;
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

    // The selection is written in brackets, before and after.
    void toggleItalic_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("wraps a whole text, line break and all") << "[a\nb]" << "[<i>a\nb</i>]";
        QTest::newRow("unwraps a whole text") << "[<i>a\nb</i>]" << "[a\nb]";
        QTest::newRow("wraps a selected word") << "one [two]" << "one [<i>two</i>]";
        QTest::newRow("unwraps a word selected inside its tags") << "one <i>[two]</i>" << "one [two]";
        QTest::newRow("unwraps a word selected with its tags") << "one [<i>two</i>]" << "one [two]";
    }

    void toggleItalic()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        int start = int(text.indexOf(u'['));
        int end = int(text.indexOf(u']')) - 1;
        QString toggled = SubtitleMarkup::toggledItalic(text.remove(u'[').remove(u']'), start, end);
        QCOMPARE(toggled.insert(end, u']').insert(start, u'['), expected);
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleMarkup)
#include "tst_subtitlemarkup.moc"
