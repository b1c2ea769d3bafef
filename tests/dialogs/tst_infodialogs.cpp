// The data-file information dialog and the version box, and how every dialog opens.
#include "activatableform.h"
#include "dialogforms.h"
#include "fakeplatform.h"
#include "forms.h"
#include "frmabout.h"
#include "pmcm000.h"
#include "pmlp0030.h"
#include "testmain.h"

#include <QFile>
#include <QLocale>
#include <QPointer>

using namespace PMCM000;

namespace {
const QString ToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Unavailable = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
constexpr auto LocalMachine = Registry::Root::LocalMachine;

class ScreenForm : public QWidget, public ActivatableForm {
  public:
    ScreenForm()
        : ActivatableForm(this) {}
    void Form_Activate() override { ++activations; }
    int activations = 0;
};
} // namespace

class TestInfoDialogs : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;

  private slots:
    void initTestCase() {
        // The time is shown in the system's short date form; fix the system for the test.
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    }
    void init() { fake = std::make_unique<FakePlatform>(); }
    void cleanup() { fake.reset(); }

    // One instance of each at a time; the preference dialogs stay on top and mark a dialog
    // open when they become active, the version box does neither. Each counts as a form of
    // the program, so the screen behind is activated again when the user returns to it.
    void openingThroughTheRegistry_data() {
        QTest::addColumn<Forms::Id>("id");
        QTest::addColumn<bool>("preference");
        QTest::newRow("colours") << Forms::Id::ColourDialog << true;
        QTest::newRow("sounds") << Forms::Id::SoundDialog << true;
        QTest::newRow("data file") << Forms::Id::DataFileDialog << true;
        QTest::newRow("version") << Forms::Id::About << false;
    }
    void openingThroughTheRegistry() {
        QFETCH(Forms::Id, id);
        QFETCH(bool, preference);
        registerDialogForms();
        QPointer<QWidget> dialog = Forms::show(id);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(Forms::show(id), dialog.data());
        QCOMPARE(bool(dialog->windowFlags() & Qt::WindowStaysOnTopHint), preference);
        ScreenForm screen;
        auto& tracker = ActivationTracker::instance();
        tracker.windowActivated(&screen);
        tracker.windowActivated(dialog);
        QCOMPARE(DialogOpen, preference);
        dialog->close();
        QTRY_VERIFY(!dialog); // deleted on close
        tracker.windowActivated(&screen);
        QCOMPARE(screen.activations, 2);
    }

    void showsTheFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QDateTime>("changed");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("time");
        QTest::newRow("empty file")
            << "words.pml" << 0 << QDateTime({2024, 3, 5}, {9, 5, 7}) << "0 Byte"
            << "2024/03/05 9:05:07";
        QTest::newRow("Japanese folders") << "ことば/どうぶつ/単語.pml" << 2048
                                          << QDateTime({2023, 12, 31}, {23, 59, 59}) << "2048 Byte"
                                          << "2023/12/31 23:59:59";
        QTest::newRow("midnight shows the date alone")
            << "words.pml" << 1 << QDateTime({2024, 1, 2}, {0, 0, 0}) << "1 Byte"
            << "2024/01/02";
        QTest::newRow("one second past midnight")
            << "words.pml" << 1 << QDateTime({2024, 1, 2}, {0, 0, 1}) << "1 Byte"
            << "2024/01/02 0:00:01";
    }
    void showsTheFile() {
        QFETCH(QString, name);
        QFETCH(int, bytes);
        QFETCH(QDateTime, changed);
        DataFilePath = fake->documentsFolder() + name;
        FakePlatform::writeFile(DataFilePath, QByteArray(bytes, 'x'));
        QFile file(DataFilePath);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(changed, QFileDevice::FileModificationTime));
        file.close();

        // The Japanese date whatever the locale of the system.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QPointer<PMLP0030> dialog = new PMLP0030;
        QLocale::setDefault(QLocale::c());
        QCOMPARE(dialog->Lb_F_Dir->text(), DataFilePath);
        QTEST(dialog->Lb_F_Size->text(), "size");
        QTEST(dialog->Lb_F_Time->text(), "time");
        // Each caption ends before its value begins.
        for (const auto& [caption, value] : {std::pair{dialog->Lb_Dir, dialog->Lb_F_Dir},
                                             {dialog->Lb_FileSize, dialog->Lb_F_Size},
                                             {dialog->Lb_Time, dialog->Lb_F_Time}}) {
            const int textEnd =
                caption->x() + caption->fontMetrics().horizontalAdvance(caption->text());
            QVERIFY2(textEnd + 3 <= value->x(), qPrintable(caption->text()));
        }
        delete dialog;
    }

    void withoutAFileOnlyThePathIsShown_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("no data file chosen") << QString();
        QTest::newRow("file gone") << QStringLiteral("/nowhere/words.pml");
    }
    void withoutAFileOnlyThePathIsShown() {
        QFETCH(QString, path);
        DataFilePath = path;
        PMLP0030 dialog;
        QCOMPARE(dialog.Lb_F_Dir->text(), path);
        QCOMPARE(dialog.Lb_F_Size->text(), QString());
        QCOMPARE(dialog.Lb_F_Time->text(), QString());
        QVERIFY(fake->prompter.messages.isEmpty());
    }

    void showsTitleAndVersion() {
        QPointer<frmAbout> about = new frmAbout;
        about->show();
        QCOMPARE(about->windowTitle(), QStringLiteral("MORVミルタのﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(about->lblTitle->text(), QStringLiteral("MORVミルタ"));
        // The build's own version, so that a version bump is not a test failure.
        QCOMPARE(about->lblVersion->text(),
                 QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + QStringLiteral(PIMLOTAN_VERSION));
        QCOMPARE(frmAbout::versionText(QStringLiteral("2.10")), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2.10.0"));
        // The licence named is the one the package's copyright file gives the program.
        QFile copyright(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../../packaging/copyright"));
        QVERIFY(copyright.open(QIODevice::ReadOnly));
        const QString programLicence = QString::fromUtf8(copyright.readAll())
                                           .section(QStringLiteral("Files: *\n"), 1)
                                           .section(QStringLiteral("License: "), 1)
                                           .section(u'\n', 0, 0);
        QCOMPARE(programLicence, QStringLiteral("GPL-3+"));
        QVERIFY2(about->lblDescription->text().contains(u'(' + programLicence + u')'),
                 qPrintable(about->lblDescription->text()));
        QTest::mouseClick(about->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(!about);
    }

    void startSysInfo_data() {
        QTest::addColumn<QString>("toolPath");   // value of the first key, empty = absent
        QTest::addColumn<QString>("toolFolder"); // value of the second key, empty = absent
        QTest::addColumn<bool>("folderHasTool");
        QTest::addColumn<bool>("startWorks");
        QTest::addColumn<QString>("started"); // "folder" = the tool in toolFolder
        QTest::newRow("first key") << "/usr/bin/sysinfo"
                                   << "" << false << true << "/usr/bin/sysinfo";
        QTest::newRow("first key wins over the second")
            << "/usr/bin/sysinfo"
            << "folder" << true << true << "/usr/bin/sysinfo";
        QTest::newRow("second key with the tool") << ""
                                                  << "folder" << true << true << "folder";
        QTest::newRow("second key without the tool") << ""
                                                     << "folder" << false << true << "";
        QTest::newRow("neither") << ""
                                 << "" << false << true << "";
        QTest::newRow("the tool does not start") << "/usr/bin/sysinfo"
                                                 << "" << false << false << "";
    }
    void startSysInfo() {
        QFETCH(QString, toolPath);
        QFETCH(QString, toolFolder);
        QFETCH(bool, folderHasTool);
        QFETCH(bool, startWorks);
        QFETCH(QString, started);
        const QString folder = fake->programFolder() + QStringLiteral("msinfo");
        const QString tool = folder + QStringLiteral("/MSINFO32.EXE");
        if (folderHasTool)
            FakePlatform::writeFile(tool, "MZ");
        if (!toolPath.isEmpty())
            fake->registry.set(LocalMachine, ToolKey, QStringLiteral("PATH"), toolPath);
        if (!toolFolder.isEmpty())
            fake->registry.set(LocalMachine, LocationKey, QStringLiteral("MSINFO"), folder);
        fake->shell.startSucceeds = startWorks;

        frmAbout about;
        QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);

        const bool expectStarted = !started.isEmpty();
        QCOMPARE(fake->prompter.texts(), expectStarted ? QStringList() : QStringList{Unavailable});
        if (expectStarted)
            QCOMPARE(fake->shell.startedPrograms,
                     QList<QStringList>{{started == QStringLiteral("folder") ? tool : started}});
        else if (startWorks)
            QVERIFY(fake->shell.startedPrograms.isEmpty());
    }

    void getKeyValue_data() {
        QTest::addColumn<QVariant>("stored"); // invalid = absent
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("text");
        QTest::newRow("text") << QVariant(QStringLiteral("C:\\Tools\\x.exe")) << true
                              << "C:\\Tools\\x.exe";
        QTest::newRow("text cut at the first NUL")
            << QVariant(QStringLiteral("abc") + QChar(u'\0') + QStringLiteral("junk")) << true
            << "abc";
        QTest::newRow("number") << QVariant(quint32(4294967295u)) << true << "4294967295";
        QTest::newRow("absent") << QVariant() << false << "";
    }
    void getKeyValue() {
        QFETCH(QVariant, stored);
        QFETCH(bool, found);
        if (stored.isValid())
            fake->registry.set(LocalMachine, QStringLiteral("K"), QStringLiteral("V"), stored);
        QString text = QStringLiteral("left over");
        QCOMPARE(
            frmAbout::GetKeyValue(LocalMachine, QStringLiteral("K"), QStringLiteral("V"), text),
            found);
        QTEST(text, "text");
    }
};

PIMLOTAN_TEST_MAIN(TestInfoDialogs)
#include "tst_infodialogs.moc"
