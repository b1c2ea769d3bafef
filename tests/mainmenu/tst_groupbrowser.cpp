// The main menu's rules on small decks: pages, paging, marks, tallies and the reset.
#include "deckfixture.h"
#include "fakeplatform.h"
#include "groupbrowser.h"
#include "worddatafile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QList<int> shown(const GroupBrowser::Page& page) {
    QList<int> sgroups;
    for (const auto& row : page.rows)
        sgroups << row.sgroup;
    return sgroups;
}

QList<int> range(int first, int last) {
    QList<int> numbers;
    for (int n = first; n <= last; ++n)
        numbers << n;
    return numbers;
}

int scalar(const QString& path, const QString& sql) {
    return DeckFixture::scalar(path, sql).toInt();
}
} // namespace

class TestGroupBrowser : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path;
    GroupBrowser browser;

    void makeDeck(int subGroups) {
        DeckFixture deck;
        deck.group(1, QStringLiteral("どうぶつ")).group(2, QStringLiteral("たべもの"));
        for (int s = 1; s <= subGroups; ++s)
            deck.subGroup(1, s).words(1, s, 0, 2, s * 100);
        deck.subGroup(2, 1);
        deck.write(path);
        browser = GroupBrowser();
        browser.setDataFile(path);
    }

  private slots:
    void init() { path = dir.filePath(QStringLiteral("deck.pml")); }
    void cleanup() {
        WordDataFile::closeAll();
        QFile::remove(path);
    }

    void paging_data() {
        QTest::addColumn<int>("subGroups");
        QTest::addColumn<QString>("presses"); // d = ▼, u = ▲, D = ∨, U = ∧
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<bool>("up");
        QTest::addColumn<bool>("down");
        QTest::newRow("seven: one page") << 7 << QString() << range(1, 7) << false << false;
        QTest::newRow("eight: down shows") << 8 << QString() << range(1, 7) << false << true;
        QTest::newRow("eight: down shows the eighth") << 8 << "d" << QList<int>{8} << true << false;
        QTest::newRow("twenty: ▼") << 20 << "d" << range(8, 14) << true << true;
        QTest::newRow("twenty: ▼▲") << 20 << "du" << range(1, 7) << false << true;
        QTest::newRow("twenty: ▼▼") << 20 << "dd" << range(15, 20) << true << false;
        QTest::newRow("twenty: ▲ from 15 goes back eight")
            << 20 << "ddu" << range(7, 13) << true << true;
        QTest::newRow("twenty: ∨") << 20 << "D" << range(2, 8) << true << true;
        QTest::newRow("twenty: ∨∧") << 20 << "DU" << range(1, 7) << false << true;
        QTest::newRow("twenty: ∧ on the first page") << 20 << "U" << range(1, 7) << false << true;
        QTest::newRow("twenty: ∨ to the end")
            << 20 << "DDDDDDDDDDDDD" << range(14, 20) << true << false;
    }
    void paging() {
        QFETCH(int, subGroups);
        QFETCH(QString, presses);
        QFETCH(QList<int>, rows);
        QFETCH(bool, up);
        QFETCH(bool, down);
        makeDeck(subGroups);
        QVERIFY(browser.chooseGroup(1));
        GroupBrowser::Page page = browser.showPage();
        for (const QChar press : presses) {
            switch (press.unicode()) {
            case 'd':
                browser.pageDown();
                break;
            case 'u':
                browser.pageUp();
                break;
            case 'D':
                browser.lineDown();
                break;
            case 'U':
                browser.lineUp();
                break;
            }
            page = browser.showPage();
        }
        QCOMPARE(shown(page), rows);
        QCOMPARE(page.upVisible, up);
        QCOMPARE(page.downVisible, down);
    }

    void marksReachTheFileAndAGroupClickClearsThem() {
        makeDeck(3);
        QVERIFY(browser.chooseGroup(1));
        browser.showPage();
        QVERIFY(browser.toggleMark(0));
        QVERIFY(browser.toggleMark(2));
        QVERIFY(browser.actionsVisible());
        QCOMPARE(DeckFixture::scalar(path, QStringLiteral("SELECT group_concat(sgroup) FROM "
                                                          "subgroup WHERE \"select\""))
                     .toString(),
                 QStringLiteral("1,3"));
        // Unticking one leaves the buttons, unticking both hides them.
        QVERIFY(!browser.toggleMark(0));
        QVERIFY(browser.actionsVisible());
        QVERIFY(!browser.toggleMark(2));
        QVERIFY(!browser.actionsVisible());

        browser.toggleMark(1);
        QVERIFY(browser.chooseGroup(2));
        QCOMPARE(scalar(path, QStringLiteral("SELECT count(*) FROM subgroup WHERE \"select\"")), 0);
        QCOMPARE(browser.MarkedCount, 0);
    }

    void marksShowWhenThePageIsRedrawn() {
        makeDeck(10);
        QVERIFY(browser.chooseGroup(1));
        browser.showPage();
        browser.toggleMark(1);
        browser.pageDown();
        browser.showPage();
        browser.pageUp();
        const GroupBrowser::Page page = browser.showPage();
        QVERIFY(page.rows[1].marked);
        QVERIFY(!page.rows[0].marked);
        // Paging keeps the count, so the buttons stay while the mark is on another page.
        QVERIFY(browser.actionsVisible());
    }

    void missingGroup() {
        makeDeck(1);
        QVERIFY(!browser.chooseGroup(5));
    }

    void talliesAndTotals() {
        DeckFixture deck;
        deck.group(1).group(2).subGroup(1, 1).subGroup(1, 2).subGroup(2, 1);
        deck.words(1, 1, 0, 1000, 1).words(1, 1, 3, 2, 5000).words(1, 2, 5, 1, 6000);
        deck.write(path);
        browser.setDataFile(path);
        const auto groups = browser.groups();
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[0].total, 1003);
        QCOMPARE(groups[1].total, 0); // a group without words
        QVERIFY(browser.chooseGroup(1));
        const GroupBrowser::Page page = browser.showPage();
        std::array<std::optional<int>, 6> first{};
        first[0] = 1000;
        first[3] = 2;
        std::array<std::optional<int>, 6> second{};
        second[5] = 1;
        QCOMPARE(page.rows[0].levelCounts, first);
        QCOMPARE(page.rows[1].levelCounts, second);
    }

    void resetTouchesMarkedSubGroupsOnly() {
        DeckFixture deck;
        deck.group(1).subGroup(1, 1).subGroup(1, 2).subGroup(1, 9);
        deck.words(1, 1, 2, 3, 1).words(1, 2, 4, 2, 100).words(1, 9, 5, 1, 900);
        DeckFixture::Word seen;
        seen.key = 50;
        seen.level = 1;
        seen.times = 7;
        deck.word(seen);
        deck.write(path);
        browser.setDataFile(path);
        QVERIFY(browser.chooseGroup(1));
        browser.showPage();
        browser.toggleMark(0);
        browser.toggleMark(2); // sub-group 9
        browser.reset();
        QCOMPARE(scalar(path, QStringLiteral("SELECT count(*) FROM word WHERE level = 0 AND "
                                             "times = 0 AND sgroup IN (1, 9)")),
                 5);
        QCOMPARE(scalar(path, QStringLiteral("SELECT count(*) FROM word WHERE level = 4")), 2);
        const GroupBrowser::Page page = browser.showPage();
        QCOMPARE(page.rows[0].levelCounts[0], std::optional<int>(4));
        QVERIFY(!page.rows[0].levelCounts[1]);
    }

    void vanishedFileIsARefusedWrite() {
        makeDeck(2);
        QVERIFY(browser.chooseGroup(1));
        browser.showPage();
        QFile::remove(path);
        QVERIFY_THROWS_EXCEPTION(GroupBrowser::WriteRefused, browser.toggleMark(0));
        QCOMPARE(browser.MarkedCount, 0);
        QVERIFY(!QFile::exists(path)); // not made again by the write
    }

    void refusedWritesChangeNothing() {
        makeDeck(2);
        QVERIFY(browser.chooseGroup(1));
        browser.showPage();
        WordDataFile::closeAll();
        QFile::setPermissions(path, QFile::ReadOwner);
        const QByteArray before = [this] {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        bool refused = false;
        try {
            browser.toggleMark(0);
        } catch (const GroupBrowser::WriteRefused&) {
            refused = true;
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(refused);
        QCOMPARE(browser.RowMark[0], 0);
        QCOMPARE(browser.MarkedCount, 0);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }
};

QTEST_GUILESS_MAIN(TestGroupBrowser)
#include "tst_groupbrowser.moc"
