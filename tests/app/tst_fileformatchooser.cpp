#include "app/window/EncodingsPopupButton.h"
#include "app/window/FileFormatChooser.h"
#include "document/TextEncoding.h"

#include <QCheckBox>
#include <QTest>

// The Save dialog's line endings and mark: the mark shows what the save will write for
// the chosen encoding, until the user ticks it.
class tst_FileFormatChooser : public QObject
{
    Q_OBJECT

private slots:
    // An encoding picked for one file once garbled every later file opened.
    void aChoiceNeverCarriesOverToTheNextChooser()
    {
        const int cyrillic = *TextEncoding::numberForName(u"windows-1251");
        {
            EncodingsPopupButton button;
            button.setCurrentIndex(button.findData(cyrillic));
            QCOMPARE(button.selectedEncoding(), cyrillic);
        }
        QCOMPARE(EncodingsPopupButton().selectedEncoding(), TextEncoding::Automatic);
    }

    void theMarkFollowsTheEncodingUntilChosen()
    {
        const TextFileFormat readWithMark{true, true};
        FileFormatChooser kept(readWithMark, TextEncoding::Utf8);
        kept.setEncoding(TextEncoding::Utf8);
        QCOMPARE(kept.format(), readWithMark);
        kept.setEncoding(TextEncoding::Utf16LittleEndian); // another encoding takes its usual
        QCOMPARE(kept.format().byteOrderMark, true);
        kept.setEncoding(*TextEncoding::numberForName(u"windows-1252"));
        QCOMPARE(kept.format().byteOrderMark, std::nullopt);

        FileFormatChooser chosen({}, std::nullopt);
        chosen.setEncoding(TextEncoding::Utf16BigEndian);
        QCOMPARE(chosen.format(), (TextFileFormat{false, true}));
        chosen.findChild<QCheckBox *>()->click();
        chosen.setEncoding(TextEncoding::Utf16LittleEndian);
        QCOMPARE(chosen.format(), (TextFileFormat{false, false}));
    }
};

QTEST_MAIN(tst_FileFormatChooser)
#include "tst_fileformatchooser.moc"
