#include "format/Utf8Validator.h"

#include <QTest>

// The fast UTF-8 check must decide exactly as Qt's: it decides whether a file is read as
// UTF-8 at all. Every byte sequence that could begin a character is tried, at each place
// in the eight- and sixteen-byte blocks the check reads, and cut off at the end of the text.
class tst_Utf8Validator : public QObject
{
    Q_OBJECT

    static QByteArray bytes(std::initializer_list<int> values)
    {
        QByteArray result;
        for (const int value : values)
            result.append(char(value));
        return result;
    }

    // The first text of `sequences` (each put after `offset` ASCII bytes, then followed
    // by ASCII or by the end of the text) on which the two checks differ, in hex; empty
    // when none.
    template <typename Sequences>
    static QByteArray firstDifference(int offset, Sequences sequences)
    {
        QByteArray text;
        QByteArray differs;
        sequences([&](const QByteArray &sequence) {
            for (const char *after : {"", "abcdefgh"}) {
                // continuation bytes past the end, which must not be looked at
                text = QByteArray(offset, 'a') + sequence + after + "\x80\x80\x80";
                const QByteArrayView view = QByteArrayView(text).chopped(3);
                if (differs.isEmpty() && Utf8Validator::isValid(view) != view.isValidUtf8())
                    differs = view.toByteArray().toHex(' ');
            }
        });
        return differs;
    }

private slots:
    void decidesAsQt_data()
    {
        QTest::addColumn<int>("offset");
        for (int offset = 0; offset <= 17; ++offset)
            QTest::addRow("after %d ASCII bytes", offset) << offset;
    }

    void decidesAsQt()
    {
        QFETCH(int, offset);
        // Every pair of bytes: each lead, continuation and ASCII byte before each other.
        QCOMPARE(firstDifference(offset, [](auto check) {
                     for (int a = 0; a < 256; ++a)
                         for (int b = 0; b < 256; ++b)
                             check(bytes({a, b}));
                 }),
                 QByteArray());
        // Three-byte leads with every two bytes after them (overlong forms, surrogates).
        if (offset == 6 || offset == 9 || offset == 15) {
            QCOMPARE(firstDifference(offset, [](auto check) {
                         for (int a = 0xE0; a <= 0xEF; ++a)
                             for (int b = 0; b < 256; ++b)
                                 for (int c = 0; c < 256; ++c)
                                     check(bytes({a, b, c}));
                     }),
                     QByteArray());
        }
        // Four-byte leads and beyond, with the bytes at the edges of each range after them.
        const std::initializer_list<int> edges{0x00, 0x7F, 0x80, 0x8F, 0x90, 0xBF, 0xC0, 0xFF};
        QCOMPARE(firstDifference(offset, [&edges](auto check) {
                     for (int a = 0xF0; a <= 0xFF; ++a)
                         for (int b = 0; b < 256; ++b)
                             for (const int c : edges) {
                                 check(bytes({a, b, c})); // cut short
                                 for (const int d : edges)
                                     check(bytes({a, b, c, d}));
                             }
                 }),
                 QByteArray());
    }
};

QTEST_GUILESS_MAIN(tst_Utf8Validator)
#include "tst_utf8validator.moc"
