// The menus every screen shares: what they hold under the names each screen gives them, and
// what their entries open.
#include "commonmenus.h"
#include "fakeplatform.h"
#include "forms.h"
#include "pmcm000.h"
#include "screentexts.h"
#include "testmain.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

Q_DECLARE_METATYPE(CommonMenus::Names)

class TestCommonMenus : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;

  private slots:
    void init() { fake = std::make_unique<FakePlatform>(); }
    void cleanup() {
        Forms::unloadAll();
        Forms::clear();
        fake.reset();
    }

    void entriesUnderTheScreensNames_data() {
        QTest::addColumn<CommonMenus::Names>("names");
        QTest::newRow("main menu")
            << CommonMenus::Names{QStringLiteral("ver_space"), QStringLiteral("var_space2"),
                                  QStringLiteral("Help"), QStringLiteral("mnuSeparator2")};
        QTest::newRow("practice") << CommonMenus::Names{
            QStringLiteral("ver_space"), QStringLiteral("ver_space2"), QStringLiteral("HELP"),
            QStringLiteral("mnuSeparator2")};
    }
    void entriesUnderTheScreensNames() {
        QFETCH(CommonMenus::Names, names);
        QMainWindow window;
        const CommonMenus::Entries entries = CommonMenus::add(window.menuBar(), names);
        const QList<QAction*> top = window.menuBar()->actions();
        QCOMPARE(top.size(), 4);
        // The spacers only keep the menus apart.
        for (int i : {0, 2})
            QVERIFY(!top[i]->isEnabled() && top[i]->menu() == nullptr);
        QCOMPARE(top[0]->objectName(), names.firstSpacer);
        QCOMPARE(top[2]->objectName(), names.secondSpacer);
        QCOMPARE(top[0]->text(), top[2]->text());
        QCOMPARE(top[1]->menu(), entries.Ver_settei);
        QCOMPARE(top[3]->menu(), entries.help);
        QCOMPARE(entries.help->objectName(), names.help);
        const QList<QAction*> help = entries.help->actions();
        QCOMPARE(help.size(), 3);
        QVERIFY(help[1]->isSeparator());
        QCOMPARE(help[1]->objectName(), names.separator);
        QCOMPARE(window.findChild<QAction*>(QStringLiteral("Ver_col")), entries.Ver_col);
    }

    void entriesOpenTheirDialogs_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("dialog");
        QTest::newRow("colour") << QStringLiteral("Ver_col") << int(Forms::Id::ColourDialog);
        QTest::newRow("sound") << QStringLiteral("Ver_se") << int(Forms::Id::SoundDialog);
        QTest::newRow("about") << QStringLiteral("Ver_version") << int(Forms::Id::About);
    }
    void entriesOpenTheirDialogs() {
        QFETCH(QString, entry);
        QFETCH(int, dialog);
        QMainWindow window;
        CommonMenus::add(window.menuBar(), {QStringLiteral("a"), QStringLiteral("b"),
                                            QStringLiteral("Help"), QStringLiteral("c")});
        QAction* action = window.findChild<QAction*>(entry);
        QVERIFY(action);
        action->trigger(); // not registered: nothing opens, nothing fails
        QVERIFY(!Forms::instance(Forms::Id(dialog)));
        QPointer<QWidget> opened;
        Forms::registerFactory(Forms::Id(dialog), [&opened] { return opened = new QWidget; });
        action->trigger();
        QVERIFY(opened && opened->isVisible());
        QCOMPARE(Forms::instance(Forms::Id(dialog)), opened.data());
    }

    void manualInTheProgramFolder_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("opened");
        QTest::newRow("ends with a separator")
            << QStringLiteral("/opt/pimlotan/") << QStringLiteral("/opt/pimlotan/");
        QTest::newRow("without one")
            << QStringLiteral("/opt/pimlotan") << QStringLiteral("/opt/pimlotan/");
        QTest::newRow("Windows style")
            << QStringLiteral("C:\\pimlotan\\") << QStringLiteral("C:\\pimlotan\\");
    }
    void manualInTheProgramFolder() {
        QFETCH(QString, folder);
        QFETCH(QString, opened);
        PMCM000::AppFolder = folder;
        CommonMenus::openManual();
        QCOMPARE(fake->shell.openedDocuments, QStringList{opened + ScreenTexts::ManualFile});
    }
};

PIMLOTAN_TEST_MAIN(TestCommonMenus)
#include "tst_commonmenus.moc"
