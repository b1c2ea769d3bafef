// The screen-colour dialog: what OK writes, what Cancel and the colour dialog's cancel keep.
#include "dialogtest.h"
#include "doubleclick.h"
#include "fakeplatform.h"
#include "pmcm000.h"
#include "pmlp0010.h"
#include "testmain.h"
#include "wincolor.h"

#include <QPointer>

using namespace PMCM000;
using DialogTest::click;
using DialogTest::readAll;

namespace {
// A settings file that differs from the defaults everywhere.
const QByteArray CustomColours = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n";
const QByteArray DefaultColours =
    "-2147483633\r\n-2147483633\r\n-2147483633\r\n255\r\n255\r\n16711680\r\n";
} // namespace

class TestColourDialog : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;
    QPointer<PMLP0010> dialog;

    QString colourFile() const { return fake->settingsFolder() + ColourSettings; }

    void openWith(const QByteArray& file) {
        FakePlatform::writeFile(colourFile(), file);
        LoadColourSettings();
        dialog = new PMLP0010;
        dialog->show();
    }

    QStringList sharedColours() const {
        return {MainBackColor,   PracticeBackColor, SlideBackColor,
                MainSelectColor, NgColor,           OkColor};
    }

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
    }
    void cleanup() {
        delete dialog;
        fake.reset();
    }

    void defaultsThenOkWritesTheDefaults() {
        openWith(CustomColours);
        click<QPushButton>(dialog, QStringLiteral("BT_def"));
        click<QPushButton>(dialog, QStringLiteral("BT_OK"));
        QCOMPARE(readAll(colourFile()), DefaultColours);
        QCOMPARE(MainSelectColor, QStringLiteral("255"));
        QCOMPARE(OkColor, QStringLiteral("16711680"));
        QTRY_VERIFY(!dialog); // closed and deleted
    }

    void leavingWithoutOkChangesNothing_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }
    void leavingWithoutOkChangesNothing() {
        QFETCH(bool, closeBox);
        openWith(CustomColours);
        const QStringList before = sharedColours();
        fake->prompter.colours.enqueue(QColor(Qt::green));
        click<ClickableLabel>(dialog, QStringLiteral("Lb_main_sh"));
        click<QPushButton>(dialog, QStringLiteral("BT_def"));
        if (closeBox)
            dialog->close();
        else
            click<QPushButton>(dialog, QStringLiteral("BT_can"));
        QTRY_VERIFY(!dialog);
        QCOMPARE(sharedColours(), before);
        QCOMPARE(readAll(colourFile()), CustomColours);
    }

    // Each swatch edits its own colour and line; a cancelled colour dialog keeps the value,
    // a system colour included.
    void choosingAColour_data() {
        QTest::addColumn<QString>("swatch");
        QTest::addColumn<int>("line");
        QTest::addColumn<QColor>("chosen"); // invalid = the colour dialog is cancelled
        QTest::addColumn<QString>("written");
        QTest::newRow("practice OK green") << "Lb_rensyu_ok" << 6 << QColor(0, 255, 0) << "65280";
        QTest::newRow("slide background") << "Lb_sr_fm" << 3 << QColor(1, 2, 3) << "197121";
        QTest::newRow("practice NG") << "Lb_rensyu_ng" << 5 << QColor(0, 0, 128) << "8388608";
        QTest::newRow("cancelled keeps the system colour")
            << "Lb_main_fm" << 1 << QColor() << "-2147483633";
    }
    void choosingAColour() {
        QFETCH(QString, swatch);
        QFETCH(int, line);
        QFETCH(QColor, chosen);
        QFETCH(QString, written);
        openWith(DefaultColours);
        auto* label = dialog->findChild<ClickableLabel*>(swatch);
        QVERIFY(label);
        const QColor shown = label->palette().color(QPalette::Window);
        if (line == 1) // a system colour shows as the theme's colour
            QCOMPARE(shown, dialog->palette().color(QPalette::Button));
        if (chosen.isValid())
            fake->prompter.colours.enqueue(chosen);
        click<ClickableLabel>(dialog, swatch);
        // The colour dialog starts from the colour the swatch shows.
        QCOMPARE(fake->prompter.colourRequests, QList<QColor>{shown});
        QCOMPARE(label->palette().color(QPalette::Window), chosen.isValid() ? chosen : shown);
        click<QPushButton>(dialog, QStringLiteral("BT_OK"));
        QStringList lines = QString::fromUtf8(DefaultColours).split(QStringLiteral("\r\n"));
        lines[line - 1] = written;
        QCOMPARE(QString::fromUtf8(readAll(colourFile())), lines.join(QStringLiteral("\r\n")));
    }

    void doubleClickAsksOnce() {
        openWith(DefaultColours);
        fake->prompter.colours.enqueue(QColor(0, 255, 0));
        doubleClick(dialog->Lb_rensyu_ok);
        QCOMPARE(fake->prompter.colourRequests.size(), 1);
        QCOMPARE(dialog->workingValue(PMLP0010::PracticeOk), 0x00FF00);
    }

    void aTextThatIsNoColourBecomesTheDefault() {
        openWith("blue\r\n\r\n3\r\n4\r\n5\r\n");
        QCOMPARE(dialog->workingValue(PMLP0010::MainBack), WinColor::ButtonFace);
        QCOMPARE(dialog->workingValue(PMLP0010::PracticeBack), WinColor::ButtonFace);
        QCOMPARE(dialog->workingValue(PMLP0010::PracticeOk), 0xFF0000); // line 6 missing
        click<QPushButton>(dialog, QStringLiteral("BT_OK"));
        QCOMPARE(readAll(colourFile()),
                 QByteArray("-2147483633\r\n-2147483633\r\n3\r\n4\r\n5\r\n16711680\r\n"));
    }

    void aFileThatCannotBeWrittenIsReported() {
        openWith(CustomColours);
        // A settings "folder" that is a file: nothing can be written into it.
        SettingsFolder = colourFile() + u'/';
        click<QPushButton>(dialog, QStringLiteral("BT_def"));
        click<QPushButton>(dialog, QStringLiteral("BT_OK"));
        QCOMPARE(fake->prompter.messages.size(), 1);
        QCOMPARE(fake->prompter.messages.first().title, QStringLiteral("PMLP0010BT_OK_Click"));
        QCOMPARE(readAll(colourFile()), CustomColours);
        // The colours still apply for the rest of the run.
        QCOMPARE(MainSelectColor, QStringLiteral("255"));
    }
};

PIMLOTAN_TEST_MAIN(TestColourDialog)
#include "tst_colourdialog.moc"
