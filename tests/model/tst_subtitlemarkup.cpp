#include "model/text/SubtitleMarkup.h"

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

    // The selection is written in brackets, before and after; "[]" is the caret.
    void toggleTag_data()
    {
        QTest::addColumn<QChar>("tag");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QChar i = u'i';
        QTest::newRow("wraps a whole text, line break and all") << i << "[a\nb]" << "[<i>a\nb</i>]";
        QTest::newRow("unwraps a whole text") << i << "[<i>a\nb</i>]" << "[a\nb]";
        QTest::newRow("wraps a selected word") << i << "one [two]" << "one [<i>two</i>]";
        QTest::newRow("unwraps a word selected inside its tags") << i << "one <i>[two]</i>" << "one [two]";
        QTest::newRow("unwraps a word selected with its tags") << i << "one [<i>two</i>]" << "one [two]";
        QTest::newRow("wraps the word at the caret") << i << "one t[]wo three" << "one <i>t[]wo</i> three";
        QTest::newRow("a caret at the word's end stays inside the tags") << i << "one two[]" << "one <i>two[]</i>";
        QTest::newRow("unwraps the word at the caret") << i << "one <i>t[]wo</i>" << "one t[]wo";
        QTest::newRow("leaves a caret between spaces alone") << i << "one [] two" << "one [] two";
        QTest::newRow("splits a run to unwrap a word in it")
            << i << "<i>one [two] three</i>" << "<i>one</i> [two] <i>three</i>";
        QTest::newRow("joins a part reaching into a run")
            << i << "one [two <i>three] four</i>" << "one [<i>two three] four</i>";
        QTest::newRow("wraps a part half in italic whole") << i << "[<i>one</i> two]" << "[<i>one two</i>]";
        QTest::newRow("takes in another tag around the word") << i << "one [<b>two</b>]" << "one [<i><b>two</b></i>]";
        QTest::newRow("stays inside another tag's run")
            << i << "<b>one [two]</b>" << "<b>one [<i>two</i>]</b>";
        QTest::newRow("bold on a word inside italic") << QChar(u'b') << "<i>one t[]wo</i>" << "<i>one <b>t[]wo</b></i>";
    }

    void toggleTag()
    {
        QFETCH(QChar, tag);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        int start = int(text.indexOf(u'['));
        int end = int(text.indexOf(u']')) - 1;
        QString toggled = SubtitleMarkup::toggledTag(text.remove(u'[').remove(u']'), tag, start, end);
        QCOMPARE(toggled.insert(end, u']').insert(start, u'['), expected);
    }
};

QTEST_GUILESS_MAIN(tst_SubtitleMarkup)
#include "tst_subtitlemarkup.moc"
