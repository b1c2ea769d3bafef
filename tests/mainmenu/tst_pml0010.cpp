// The main menu form offscreen: what the activation shows, clicks on ticks and buttons, menus.
#include "activatableform.h"
#include "deckchoice.h"
#include "deckfixture.h"
#include "doubleclick.h"
#include "fakeplatform.h"
#include "fittedlabel.h"
#include "forms.h"
#include "picturebox.h"
#include "pmcm000.h"
#include "pml0010.h"
#include "testmain.h"
#include "userclick.h"
#include "worddatafile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QMenuBar>

using namespace PMCM000;

namespace {
// Writes a small JPEG for every picture name of a deck built by DeckFixture.
void writePictures(const QString& folder, const QStringList& names) {
    QDir().mkpath(folder + QStringLiteral("/images"));
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    for (const QString& name : names)
        image.save(folder + QStringLiteral("/images/") + name + QStringLiteral(".jpg"));
}

QStringList pictureNames(int groups, int subGroups) {
    QStringList names;
    for (int g = 1; g <= groups; ++g) {
        names << QStringLiteral("g%1").arg(g);
        for (int s = 1; s <= subGroups; ++s)
            names << QStringLiteral("g%1s%2").arg(g).arg(s);
    }
    return names;
}
} // namespace

class TestPml0010 : public QObject {
    Q_OBJECT
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<Pml0010> form;
    QString deckFolder;

    QString deckPath(const QString& name = QStringLiteral("deck.pml")) const {
        return deckFolder + name;
    }

    // Two groups of nine sub-groups with a few words each; group 1 titled どうぶつ.
    void makeDeck(const QString& name = QStringLiteral("deck.pml"), int groups = 2) {
        DeckFixture deck;
        for (int g = 1; g <= groups; ++g) {
            deck.group(g, g == 1 ? QStringLiteral("どうぶつ") : QStringLiteral("たべもの"));
            for (int s = 1; s <= 9; ++s)
                deck.subGroup(g, s).words(g, s, s % 2 ? 0 : 2, s, g * 1000 + s * 10);
        }
        deck.write(deckPath(name));
        writePictures(deckFolder, pictureNames(groups, 9));
    }

    void open(const QString& name = QStringLiteral("deck.pml")) {
        SaveDataFilePath(deckPath(name));
        form->Form_Activate();
    }

    QStringList visibleRows() const {
        QStringList rows;
        for (QLabel* label : form->Lb_sno)
            if (label->isVisibleTo(form.get()))
                rows << label->text();
        return rows;
    }

  private slots:
    void init() {
        fake = std::make_unique<FakePlatform>();
        fake->prepareFolders();
        deckFolder = fake->documentsFolder() + QStringLiteral("decks/");
        QDir().mkpath(deckFolder);
        form = std::make_unique<Pml0010>(DeckChoice::ask);
        form->show();
    }
    void cleanup() {
        form.reset();
        WordDataFile::closeAll();
        fake.reset();
    }

    // Places at scale factor 1, in pixels of the design twips (15 to a pixel); the frame's
    // controls relative to the frame.
    void layoutOfTheMainControls_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("place");
        QTest::newRow("first group picture") << "Im_big(0)" << QRect(30, 35, 90, 64);
        QTest::newRow("second group picture, 390 below") << "Im_big(1)" << QRect(30, 125, 90, 64);
        QTest::newRow("group label under its picture") << "Lb_groupno(0)" << QRect(30, 99, 149, 15);
        QTest::newRow("selection bar right of it") << "Sh_bar(0)" << QRect(120, 35, 90, 64);
        QTest::newRow("frame") << "Fr_1" << QRect(189, 7, 630, 555);
        QTest::newRow("description") << "Lb_setumei" << QRect(32, 18, 583, 34);
        QTest::newRow("first row picture") << "Im_syo(0)" << QRect(93, 70, 72, 51);
        QTest::newRow("second row, 160 below") << "Im_syo(1)" << QRect(93, 132, 72, 51);
        QTest::newRow("row number") << "Lb_sno(0)" << QRect(50, 70, 37, 15);
        QTest::newRow("first level header") << "Lb_level0(0)" << QRect(165, 70, 72, 26);
        QTest::newRow("page up") << "Bt_up" << QRect(7, 70, 37, 43);
        QTest::newRow("practice button") << "Bt_rensyu" << QRect(826, 125, 90, 64);
        QTest::newRow("reset button") << "Bt_syokika" << QRect(826, 395, 90, 64);
    }
    void layoutOfTheMainControls() {
        QFETCH(QString, control);
        QFETCH(QRect, place);
        auto* widget = form->findChild<QWidget*>(control);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), place);
    }

    void noDataFileAsksForOne() {
        form->Form_Activate();
        QCOMPARE(form->windowTitle(), QStringLiteral("MORVミルタ")); // not an empty caption
        QCOMPARE(
            fake->prompter.texts(),
            QStringList{QStringLiteral("「ファイル」→「ひらく」でたんごデータをえらんでください")});
    }

    void wrongFilesAreReported_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("not a word-data file") << QStringLiteral("text");
        QTest::newRow("missing group picture") << QStringLiteral("picture");
        QTest::newRow("missing file") << QStringLiteral("missing");
    }
    void wrongFilesAreReported() {
        QFETCH(QString, damage);
        makeDeck();
        if (damage == QStringLiteral("text"))
            FakePlatform::writeFile(deckPath(), "just some text");
        else if (damage == QStringLiteral("picture"))
            QFile::remove(deckFolder + QStringLiteral("images/g2.jpg"));
        else
            QFile::remove(deckPath());
        open();
        QCOMPARE(fake->prompter.texts(), QStringList{QStringLiteral("単語データが違います。")});
        QCOMPARE(fake->prompter.messages[0].title, QStringLiteral("PML0010Form_Activate"));
        // The group whose picture is missing keeps its place with its title.
        if (damage == QStringLiteral("picture")) {
            QVERIFY(form->Im_big[1]->isVisibleTo(form.get()));
            QVERIFY(form->Im_big[1]->showsPlaceholder());
            QCOMPARE(form->Im_big[1]->placeholderText(), QStringLiteral("たべもの"));
            QVERIFY(!form->Im_big[0]->showsPlaceholder());
        }
    }

    void activationListsGroupsWithTotals() {
        makeDeck();
        open();
        QVERIFY(fake->prompter.messages.isEmpty());
        QVERIFY(form->Im_big[0]->isVisibleTo(form.get()));
        QVERIFY(form->Im_big[1]->isVisibleTo(form.get()));
        QVERIFY(!form->Im_big[2]->isVisibleTo(form.get()));
        QCOMPARE(form->Lb_groupno[0]->text(), QStringLiteral("どうぶつ   45個"));
        QCOMPARE(form->windowTitle(), QStringLiteral("MORVピムロ英語カード　deck.pml"));
        QVERIFY(!form->Bt_rensyu->isVisibleTo(form.get()));
    }

    // A parent's own long texts fit their labels: the count of a long title stays, the
    // description shows whole lines only, and a three-digit sub-group number is whole.
    void longTextsFitTheirLabels() {
        const QString title = QStringLiteral("どうぶつとなかまたちのえいごをおぼえようね");
        const QString description =
            QStringLiteral(
                "このグループでは、いぬやねこ、ぞうやきりんなど、いろいろなどうぶつのなまえを"
                "えいごでおぼえます。さいごまで がんばってね。えをみて、こえをきいて、なんども"
                "れんしゅうしましょう。")
                .repeated(3);
        DeckFixture deck;
        deck.group(1, title).subGroup(1, 100).words(1, 100, 0, 12, 1);
        deck.write(deckPath());
        DeckFixture::execute(deckPath(),
                             {QStringLiteral("UPDATE tittle SET setmei = '%1'").arg(description)});
        writePictures(deckFolder, {QStringLiteral("g1"), QStringLiteral("g1s100")});
        open();
        form->Im_big_Click(0);
        QVERIFY(fake->prompter.messages.isEmpty());

        const auto fitsInOneLine = [](QLabel* label) {
            return QFontMetricsF(label->font()).horizontalAdvance(label->text()) <=
                   label->contentsRect().width();
        };
        FittedLabel* group = form->Lb_groupno[0];
        QVERIFY(group->text().endsWith(QStringLiteral("  12個")));
        QVERIFY(group->text().contains(QChar(0x2026)));
        QVERIFY(fitsInOneLine(group));
        QCOMPARE(group->fullText(), title + QStringLiteral("   12個"));

        FittedLabel* number = form->Lb_sno[0];
        QCOMPARE(number->text(), QStringLiteral("No.100"));
        QVERIFY(fitsInOneLine(number));

        FittedLabel* about = form->Lb_setumei;
        const QStringList lines = about->text().split(u'\n');
        const QFontMetricsF metrics(about->font());
        QVERIFY(lines.size() * metrics.lineSpacing() <= about->contentsRect().height());
        for (const QString& line : lines)
            QVERIFY(metrics.horizontalAdvance(line) <= about->contentsRect().width());
        QVERIFY(lines.last().endsWith(QChar(0x2026)));
        QVERIFY(about->font().pointSizeF() >= FontSize12 * 0.7 - 0.01);
        // The frame's title gives way too, and the pictures keep the whole title.
        QVERIFY(QFontMetricsF(form->Fr_1->font()).horizontalAdvance(form->Fr_1->title()) <
                form->Fr_1->width());
        QCOMPARE(form->Im_syo[0]->accessibleName(), QStringLiteral("No. 100 ") + title);
    }

    void groupClickShowsItsFirstPage() {
        makeDeck();
        open();
        form->Im_big_Click(0);
        QCOMPARE(SelectedBigGroup, 1);
        QCOMPARE(form->Fr_1->title(), QStringLiteral("どうぶつ"));
        QCOMPARE(visibleRows(), (QStringList{QStringLiteral("No.  1"), QStringLiteral("No.  2"),
                                             QStringLiteral("No.  3"), QStringLiteral("No.  4"),
                                             QStringLiteral("No.  5"), QStringLiteral("No.  6"),
                                             QStringLiteral("No.  7")}));
        QVERIFY(form->Sh_bar[0]->isVisibleTo(form.get()));
        QVERIFY(!form->Sh_bar[1]->isVisibleTo(form.get()));
        // Sub-group 1 has its one word at level 0, sub-group 2 its two at level 2.
        QVERIFY(form->Lb_level[0][0]->isVisibleTo(form.get()));
        QCOMPARE(form->Lb_lvkosu[0][0]->text(), QStringLiteral("  1個"));
        QVERIFY(!form->Lb_level[2][0]->isVisibleTo(form.get()));
        QCOMPARE(form->Lb_lvkosu[2][1]->text(), QStringLiteral("  2個"));
        QVERIFY(form->Bt_down->isVisibleTo(form.get()));
        QVERIFY(!form->Bt_up->isVisibleTo(form.get()));
        QVERIFY(clickAsUser(form->Bt_down));
        QCOMPARE(visibleRows(), (QStringList{QStringLiteral("No.  8"), QStringLiteral("No.  9")}));
        QVERIFY(form->Bt_up1->isVisibleTo(form.get()));
    }

    void ticksShowTheActionButtons() {
        makeDeck();
        open();
        form->Im_big_Click(0);
        QVERIFY(clickAsUser(form->Ch_syo[0]));
        QVERIFY(form->Bt_rensyu->isVisibleTo(form.get()));
        QVERIFY(form->Bt_syokika->isVisibleTo(form.get()));
        form->Im_syo_Click(3); // a picture click ticks too
        QVERIFY(form->Ch_syo[3]->isChecked());
        QCOMPARE(DeckFixture::scalar(deckPath(),
                                     QStringLiteral("SELECT group_concat(sgroup) FROM subgroup "
                                                    "WHERE \"select\""))
                     .toString(),
                 QStringLiteral("1,4"));
        QVERIFY(clickAsUser(form->Ch_syo[0]));
        form->Im_syo_Click(3);
        QVERIFY(!form->Bt_sraid->isVisibleTo(form.get()));
    }

    // A deck rebuilt while the program runs (renamed over the old file) is read anew by the
    // next activation and by ひらく of the same path, and ticks reach the new file.
    void deckReplacedOnDiskIsReadAnew() {
        makeDeck();
        makeDeck(QStringLiteral("small.pml"), 1);
        open();
        QVERIFY(form->Im_big[1]->isVisibleTo(form.get()));
        QVERIFY(QFile::remove(deckPath()));
        QVERIFY(QFile::rename(deckPath(QStringLiteral("small.pml")), deckPath()));
        fake->prompter.files.enqueue(deckPath());
        form->Ver_open_Click();
        QVERIFY(fake->prompter.messages.isEmpty());
        QVERIFY(!form->Im_big[1]->isVisibleTo(form.get()));
        form->Im_big_Click(0);
        QVERIFY(clickAsUser(form->Ch_syo[1]));
        QVERIFY(fake->prompter.messages.isEmpty());
        QCOMPARE(DeckFixture::scalar(deckPath(), QStringLiteral("SELECT count(*) FROM subgroup"
                                                                " WHERE \"select\""))
                     .toInt(),
                 1);
    }

    // ファイル → たんごデータを つくる starts the deck maker beside the program on the open deck;
    // what the maker writes shows when the user comes back to the main menu.
    void deckMakerChangesShowAtTheNextActivation() {
        makeDeck();
        open();
        fake->shell.program = fake->documentsFolder() + QStringLiteral("bin/pimlotan");
        form->Ver_make_Click();
        const QStringList started{fake->documentsFolder() + QStringLiteral("bin/pimlotan-maker"),
                                  deckPath()};
        QCOMPARE(fake->shell.startedPrograms, QList<QStringList>{started});
        emit qApp->applicationStateChanged(Qt::ApplicationInactive); // the maker's window
        DeckFixture::execute(deckPath(), {QStringLiteral("UPDATE tittle SET tittle = 'ねこ'"
                                                         " WHERE \"group\" = 1"),
                                          QStringLiteral("DELETE FROM word WHERE \"group\" = 1"
                                                         " AND sgroup > 1")});
        ActivationTracker::instance().windowActivated(form.get()); // back to the main menu
        QCOMPARE(form->Lb_groupno[0]->text().simplified(), QStringLiteral("ねこ 1個"));

        fake->shell.startSucceeds = false;
        form->Ver_make_Click();
        QCOMPARE(fake->prompter.messages.size(), 1);
    }

    void openingAPathTheSettingsCannotHold() {
        makeDeck();
        open();
        QFile settings(fake->settingsFolder() + DataFileSettings);
        fake->prompter.files.enqueue(deckFolder + QStringLiteral("say \"hi\".pml"));
        form->Ver_open_Click();
        QCOMPARE(fake->prompter.messages.size(), 1);
        QCOMPARE(DataFilePath, deckPath());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), "\"" + deckPath().toUtf8() + "\"\r\n");
    }

    // A child's double click ticks once: one write, not a tick and an untick.
    void doubleClickTicksOnce_data() {
        QTest::addColumn<bool>("onThePicture");
        QTest::newRow("picture") << true;
        QTest::newRow("tick box") << false;
    }
    void doubleClickTicksOnce() {
        QFETCH(bool, onThePicture);
        makeDeck();
        open();
        form->Im_big_Click(0);
        QWidget* target = onThePicture ? static_cast<QWidget*>(form->Im_syo[1])
                                       : static_cast<QWidget*>(form->Ch_syo[1]);
        doubleClick(target);
        QVERIFY(form->Ch_syo[1]->isChecked());
        QCOMPARE(DeckFixture::scalar(deckPath(),
                                     QStringLiteral("SELECT group_concat(sgroup) FROM subgroup "
                                                    "WHERE \"select\""))
                     .toString(),
                 QStringLiteral("2"));
        QVERIFY(form->Bt_rensyu->isVisibleTo(form.get()));
    }

    void returningFromADialogKeepsTheMarks() {
        makeDeck();
        open();
        form->Im_big_Click(1);
        QVERIFY(clickAsUser(form->Ch_syo[2]));
        DialogOpen = true;
        form->Form_Activate();
        QVERIFY(!DialogOpen);
        QVERIFY(form->Ch_syo[2]->isChecked());
        QVERIFY(form->Bt_rensyu->isVisibleTo(form.get()));
        // A real return (from the practice) re-chooses the group and clears the marks.
        form->Form_Activate();
        QCOMPARE(SelectedBigGroup, 2);
        QVERIFY(!form->Ch_syo[2]->isChecked());
        QVERIFY(!form->Bt_rensyu->isVisibleTo(form.get()));
    }

    void openingAFileWithoutTheChosenGroup() {
        makeDeck();
        makeDeck(QStringLiteral("small.pml"), 1);
        open();
        form->Im_big_Click(1);
        fake->prompter.files.enqueue(deckPath(QStringLiteral("small.pml")));
        form->Ver_open_Click();
        QCOMPARE(fake->prompter.fileRequests[0].filter, QStringLiteral("単語データ|*.pml"));
        QCOMPARE(fake->prompter.fileRequests[0].startFolder, deckFolder);
        QCOMPARE(fake->prompter.texts(),
                 QStringList{QStringLiteral("該当するグループがありません PML0010 im_big_click")});
        QCOMPARE(DataFilePath, deckPath(QStringLiteral("small.pml")));
        QVERIFY(!form->Im_big[1]->isVisibleTo(form.get()));
    }

    void cancelledOpenChangesNothing() {
        makeDeck();
        open();
        form->Ver_open_Click();
        QCOMPARE(DataFilePath, deckPath());
    }

    void resetRedrawsThePage() {
        makeDeck();
        open();
        form->Im_big_Click(0);
        QVERIFY(clickAsUser(form->Ch_syo[1])); // sub-group 2: two words at level 2
        QVERIFY(clickAsUser(form->Bt_syokika));
        QVERIFY(form->Lb_level[0][1]->isVisibleTo(form.get()));
        QCOMPARE(form->Lb_lvkosu[0][1]->text(), QStringLiteral("  2個"));
        QVERIFY(!form->Lb_level[2][1]->isVisibleTo(form.get()));
        QVERIFY(form->Ch_syo[1]->isChecked());
        QVERIFY(fake->prompter.messages.isEmpty());
    }

    void readOnlyFileReportsTheRefusedWrite() {
        makeDeck();
        QFile::setPermissions(deckPath(), QFile::ReadOwner);
        open(); // reading works
        form->Im_big_Click(0);
        QVERIFY(form->Ch_syo[0]->isVisibleTo(form.get()));
        QVERIFY(fake->prompter.messages.isEmpty());
        QVERIFY(clickAsUser(form->Ch_syo[0])); // a mark is a write
        QCOMPARE(fake->prompter.texts(),
                 QStringList{QStringLiteral("きろくを ほぞんできませんでした。")});
        QCOMPARE(fake->prompter.messages[0].title, QStringLiteral("PML0010Ch_syo_Click"));
        QVERIFY(!form->Ch_syo[0]->isChecked());
        QVERIFY(!form->Bt_rensyu->isVisibleTo(form.get()));
    }

    void closingSavesTheSoundSettings() {
        VoiceVolume = 1234;
        StartupWaveVolume = 0x00FF00FF;
        form->close();
        QFile file(fake->settingsFolder() + SoundSettings);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith(" 1234 \r\n"));
        QCOMPARE(fake->sound.volumeWord, 0x00FF00FFu);
    }

    void commandsOpenTheirForms() {
        QList<Forms::Id> opened;
        for (Forms::Id id : {Forms::Id::Practice, Forms::Id::DataFileDialog, Forms::Id::About})
            Forms::registerFactory(id, [&opened, id] {
                opened << id;
                return new QWidget;
            });
        form->Ver_pro_Click();
        form->Ver_pro_Click(); // one instance only
        form->Ver_version->trigger();
        form->Ver_col->trigger(); // not registered: nothing happens
        QCOMPARE(opened, (QList<Forms::Id>{Forms::Id::DataFileDialog, Forms::Id::About}));
        QVERIFY(form->isVisible());
        form->Bt_rensyu_Click();
        QVERIFY(!form->isVisible());
        form->Ver_help->trigger();
        QCOMPARE(fake->shell.openedDocuments,
                 QStringList{fake->programFolder() + QStringLiteral("pimlotan説明書.pdf")});
        Forms::unloadAll();
    }
};

PIMLOTAN_TEST_MAIN(TestPml0010)
#include "tst_pml0010.moc"
