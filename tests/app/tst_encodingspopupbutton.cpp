#include "app/EncodingView.h"
#include "app/EncodingsPopupButton.h"
#include "document/TextEncoding.h"

#include <QFileDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

class tst_EncodingsPopupButton : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("cuewright-tests"));
    }
    void init() { QSettings().remove(EncodingsPopupButton::settingsKey); }

    void automaticFirstThenEveryEncoding()
    {
        EncodingsPopupButton button;
        QCOMPARE(button.count(), TextEncoding::all().size() + 1);
        QCOMPARE(button.itemText(0), QStringLiteral("Automatic"));
        QCOMPARE(button.itemData(0).toInt(), 0);
        QCOMPARE(button.itemData(1).toInt(), TextEncoding::Utf8);
        // no setting yet reads as Automatic
        QCOMPARE(button.currentIndex(), 0);
    }

    void choosingStoresAndANewButtonShowsIt()
    {
        const int cyrillic = *TextEncoding::numberForName(u"windows-1251");
        {
            EncodingsPopupButton button;
            button.setCurrentIndex(button.findData(cyrillic));
        }
        QCOMPARE(QSettings().value(EncodingsPopupButton::settingsKey).toInt(), cyrillic);
        EncodingsPopupButton later;
        QCOMPARE(later.selectedEncoding(), cyrillic);
    }

    void unknownStoredNumberSelectsNothing()
    {
        QSettings().setValue(EncodingsPopupButton::settingsKey, 77);
        EncodingsPopupButton button;
        QCOMPARE(button.currentIndex(), -1);
        QCOMPARE(button.selectedEncoding(), std::nullopt);
        QCOMPARE(QSettings().value(EncodingsPopupButton::settingsKey).toInt(), 77);
    }

    void sitsInANonNativeFileDialog()
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        EncodingView *view = EncodingView::addTo(&dialog);
        QCOMPARE(view->parentWidget(), &dialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(view->isVisible());
    }
};

QTEST_MAIN(tst_EncodingsPopupButton)
#include "tst_encodingspopupbutton.moc"
