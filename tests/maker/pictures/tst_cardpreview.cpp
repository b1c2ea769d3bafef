// The deck maker's preview shows a picture as the screens do: in their boxes' proportions, with
// the placeholder where there is no picture, and a card's word side.
#include "cardpreview.h"
#include "clickablelabel.h"
#include "picturebox.h"
#include "pictureimport.h"
#include "testmain.h"

#include <QImage>
#include <QTemporaryDir>

namespace {

QImage filled(QSize size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

PictureBox* pictureOf(const CardPreview& preview) {
    return preview.findChild<PictureBox*>();
}

// Whether the centre of the picture box is painted in colour (a stored JPEG is near it).
bool shows(CardPreview& preview, const QColor& colour) {
    const QRect box = pictureOf(preview)->geometry();
    const QColor shown = preview.grab().toImage().pixelColor(box.center());
    return std::abs(shown.red() - colour.red()) < 8 &&
           std::abs(shown.green() - colour.green()) < 8 &&
           std::abs(shown.blue() - colour.blue()) < 8;
}

} // namespace

class TestCardPreview : public QObject {
    Q_OBJECT

  private slots:
    void keepsTheScreensProportions_data() {
        QTest::addColumn<CardPreview::Place>("place");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("ratio"); // width / height of the picture on the screens
        const double card = 3135.0 / 1815, subGroup = 1080.0 / 768, group = 1350.0 / 960;
        QTest::newRow("card, own size") << CardPreview::Place::WordCard << QSize() << card;
        QTest::newRow("card, wide room") << CardPreview::Place::WordCard << QSize(900, 300) << card;
        QTest::newRow("card, tall room") << CardPreview::Place::WordCard << QSize(200, 600) << card;
        QTest::newRow("sub-group, own size") << CardPreview::Place::SubGroup << QSize() << subGroup;
        QTest::newRow("sub-group, wide room")
            << CardPreview::Place::SubGroup << QSize(500, 100) << subGroup;
        QTest::newRow("group, own size") << CardPreview::Place::Group << QSize() << group;
        QTest::newRow("group, tall room") << CardPreview::Place::Group << QSize(300, 900) << group;
    }
    void keepsTheScreensProportions() {
        QFETCH(CardPreview::Place, place);
        QFETCH(QSize, size);
        QFETCH(double, ratio);
        CardPreview preview(place);
        preview.resize(size.isValid() ? size : preview.sizeHint());
        preview.show();
        const QRect box = pictureOf(preview)->geometry();
        QVERIFY2(std::abs(double(box.width()) / box.height() - ratio) < 0.03,
                 qPrintable(QStringLiteral("%1 x %2").arg(box.width()).arg(box.height())));
        // Inside the preview, and as large as the room allows: scaled from the own size by the
        // tighter of the two sides.
        QVERIFY(preview.rect().contains(box));
        CardPreview own(place);
        own.resize(own.sizeHint());
        own.show();
        const QSize ownBox = pictureOf(own)->size();
        const double scale = std::min(double(preview.width()) / own.width(),
                                      double(preview.height()) / own.height());
        QVERIFY2(std::abs(box.width() - ownBox.width() * scale) <= 2,
                 qPrintable(QStringLiteral("%1, own %2, scale %3")
                                .arg(box.width())
                                .arg(ownBox.width())
                                .arg(scale)));
    }

    void ownSizeIsTheFullHdScreens() {
        // The practice's picture on a 1080-row screen: 3135 x 1815 twips at 1080 / 768.
        CardPreview preview(CardPreview::Place::WordCard);
        preview.resize(preview.sizeHint());
        preview.show();
        QCOMPARE(pictureOf(preview)->size(), QSize(294, 170));
        QCOMPARE(preview.heightForWidth(preview.sizeHint().width()), preview.sizeHint().height());
    }

    void showsAStoredPictureAnew() {
        QTemporaryDir deck;
        QVERIFY(deck.isValid());
        CardPreview preview(CardPreview::Place::WordCard);
        preview.resize(preview.sizeHint());
        preview.show();
        QVERIFY(PictureImport::storeImage(filled({400, 300}, Qt::red), deck.path(),
                                          QStringLiteral("dog"))
                    .ok());
        const QString path = PictureImport::storedPath(deck.path(), QStringLiteral("dog"));
        QVERIFY(preview.setPictureFile(path));
        QVERIFY(shows(preview, Qt::red));
        // The parent stores another picture under the same name: the preview shows the new one.
        QVERIFY(PictureImport::storeImage(filled({400, 300}, Qt::blue), deck.path(),
                                          QStringLiteral("dog"))
                    .ok());
        QVERIFY(preview.setPictureFile(path));
        QVERIFY(shows(preview, Qt::blue));
        // One not stored yet.
        preview.setPicture(filled({50, 50}, Qt::green));
        QVERIFY(shows(preview, Qt::green));
    }

    void placeholderWithoutAPicture_data() {
        QTest::addColumn<CardPreview::Place>("place");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("meaning");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("placeholder");
        QTest::newRow("card names its meaning")
            << CardPreview::Place::WordCard << QStringLiteral("dog") << QStringLiteral("いぬ")
            << QString() << QStringLiteral("いぬ");
        QTest::newRow("card without a meaning names its word")
            << CardPreview::Place::WordCard << QStringLiteral("dog") << QString() << QString()
            << QStringLiteral("dog");
        QTest::newRow("sub-group names its title")
            << CardPreview::Place::SubGroup << QString() << QString()
            << QStringLiteral("どうぶつ 1") << QStringLiteral("どうぶつ 1");
        QTest::newRow("group names its title")
            << CardPreview::Place::Group << QString() << QString() << QStringLiteral("どうぶつ")
            << QStringLiteral("どうぶつ");
    }
    void placeholderWithoutAPicture() {
        QFETCH(CardPreview::Place, place);
        QFETCH(QString, word);
        QFETCH(QString, meaning);
        QFETCH(QString, title);
        QFETCH(QString, placeholder);
        CardPreview preview(place);
        if (!word.isEmpty())
            preview.setWord(word, meaning);
        if (!title.isEmpty())
            preview.setTitle(title);
        preview.setPicture(filled({10, 10}, Qt::red));
        QVERIFY(!pictureOf(preview)->showsPlaceholder());
        QVERIFY(!preview.setPictureFile(QStringLiteral("/nonexistent/images/dog.jpg")));
        QVERIFY(pictureOf(preview)->showsPlaceholder());
        QCOMPARE(pictureOf(preview)->placeholderText(), placeholder);
    }

    void cardShowsItsWordSide() {
        CardPreview preview(CardPreview::Place::WordCard);
        preview.resize(preview.sizeHint());
        preview.show();
        preview.setWord(QStringLiteral("dog"), QStringLiteral("いぬ"), QStringLiteral("a big dog"));
        auto* word = preview.findChild<ClickableLabel*>(QStringLiteral("LB_word"));
        auto* phrase = preview.findChild<ClickableLabel*>(QStringLiteral("LB_meaning"));
        auto* meaning = preview.findChild<QLabel*>(QStringLiteral("LB_meanings"));
        QVERIFY(word && phrase && meaning);
        QCOMPARE(word->text(), QStringLiteral("dog"));
        QCOMPARE(phrase->text(), QStringLiteral("a big dog"));
        QCOMPARE(meaning->text(), QStringLiteral("いぬ"));

        const auto sides = [&] {
            return QList<bool>{pictureOf(preview)->isVisible(), word->isVisible(),
                               phrase->isVisible(), meaning->isVisible()};
        };
        QCOMPARE(sides(), (QList<bool>{true, false, false, true}));
        preview.setWordSideUp(true);
        QCOMPARE(sides(), (QList<bool>{false, true, true, true}));
        preview.setWordSideUp(false);
        QCOMPARE(sides(), (QList<bool>{true, false, false, true}));
    }
};

PIMLOTAN_TEST_MAIN(TestCardPreview)
#include "tst_cardpreview.moc"
