// The ranking of meanings and pictures on small dictionaries written here, in the dictionary's
// and the annotations' own formats.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <suggestions.h>
#include <suggestwords.h>

using namespace Qt::StringLiterals;

namespace {

const char* const dictionaryText = R"(　？？？ /EDICT, header line/
犬 [いぬ] /(n) (1) dog (Canis (lupus) familiaris)/(n) (2) (derog) squealer/(P)/
ドッグ /(n) dog/(P)/
狗 [いぬ] /(n) dog/
イヌ /(n) (uk) dog/(P)/
猫 [ねこ] /(n) (1) cat (esp. the domestic cat)/(n) (2) shamisen/(P)/
ピザ /(n) (1) pizza/(n) (2) (derog) (net-sl) fat, ugly person/(P)/
食べる [たべる] /(v1,vt) (1) to eat/(v1,vt) (2) to live on/(P)/
食らう [くらう] /(v5u,vt) (1) (vulg) to eat/to drink/
喫する [きっする] /(vs-s,vt) to eat/to drink/
熊 [くま] /(n) bear/(P)/
耐える [たえる] /(v1,vi) (1) to bear/to endure/(P)/
兎 [う] /(ok) (n) (uk) rabbit/hare/
兎 [うさぎ] /(n) (uk) rabbit/hare/(P)/
赤 [あか] /(n) (1) red/crimson/(P)/
紅 [べに] /(n) (1) rouge/(n) (2) red/
葡萄 [ぶどう] /(n) (uk) grape/(P)/
動物 [どうぶつ] /(n) animal/(P)/
broken line without glosses
)";

const char* const annotationsEnglish = R"(<ldml><annotations>
<annotation cp="🐶">dog | face | pet</annotation>
<annotation cp="🐶" type="tts">dog face</annotation>
<annotation cp="🐕">dog | pet</annotation>
<annotation cp="🐕" type="tts">dog</annotation>
<annotation cp="🌭">frankfurter | hot dog | hotdog | sausage</annotation>
<annotation cp="🌭" type="tts">hot dog</annotation>
<annotation cp="🐩">animal | dog | poodle</annotation>
<annotation cp="🐩" type="tts">poodle</annotation>
<annotation cp="🍇">fruit | grape | grapes</annotation>
<annotation cp="🍇" type="tts">grapes</annotation>
<annotation cp="{">brace | bracket | dog</annotation>
<annotation cp="👍🏽">thumbs up | dog</annotation>
<annotation cp="🇯🇵">flag</annotation>
<annotation cp="🇯🇵" type="tts">flag: Japan</annotation>
</annotations></ldml>)";

const char* const annotationsJapanese = R"(<ldml><annotations>
<annotation cp="🐕">イヌ | ペット | 犬</annotation>
<annotation cp="🐕" type="tts">イヌ</annotation>
</annotations></ldml>)";

Suggestions library() {
    PictureIndex pictures;
    pictures.addAnnotations(annotationsEnglish, false);
    pictures.addAnnotations(annotationsJapanese, true);
    return Suggestions(std::move(pictures), MeaningDictionary::fromText(dictionaryText));
}

} // namespace

class TestSuggestions : public QObject {
    Q_OBJECT
  private slots:
    void meanings_data();
    void meanings();
    void pictures_data();
    void pictures();
    void deckPicturesComeFirst();
    void withoutLibrariesNothingIsSuggested();
    void glossForms_data();
    void glossForms();
};

void TestSuggestions::meanings_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("expected");
    // いぬ (common, first gloss) leads; イヌ folds into いぬ; ドッグ, a loanword, follows; the
    // uncommon 狗 reads いぬ too and is not repeated; the rude second sense adds nothing.
    QTest::newRow("common native word first") << u"dog"_s << QStringList{u"いぬ"_s, u"ドッグ"_s};
    QTest::newRow("a remark in brackets is left off") << u"cat"_s << QStringList{u"ねこ"_s};
    QTest::newRow("katakana stays katakana") << u"pizza"_s << QStringList{u"ピザ"_s};
    QTest::newRow("rude senses are not offered") << u"fat, ugly person"_s << QStringList{};
    QTest::newRow("verbs through 'to'") << u"eat"_s << QStringList{u"たべる"_s, u"きっする"_s};
    QTest::newRow("a noun before a verb") << u"bear"_s << QStringList{u"くま"_s, u"たえる"_s};
    QTest::newRow("obsolete readings are left out") << u"rabbit"_s << QStringList{u"うさぎ"_s};
    QTest::newRow("first sense before later ones") << u"red"_s << QStringList{u"あか"_s, u"べに"_s};
    QTest::newRow("plural finds the singular") << u"grapes"_s << QStringList{u"ぶどう"_s};
    QTest::newRow("case and spaces do not matter")
        << u"  DOG "_s << QStringList{u"いぬ"_s, u"ドッグ"_s};
    QTest::newRow("unknown word") << u"spaceship"_s << QStringList{};
    QTest::newRow("empty word") << u""_s << QStringList{};
}

void TestSuggestions::meanings() {
    QFETCH(QString, word);
    QFETCH(QStringList, expected);
    QCOMPARE(library().meanings(word), expected);
}

void TestSuggestions::pictures_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("expected");
    // The spoken name equal to the word, then a keyword equal to it (in the annotations'
    // order), then a keyword starting with it; punctuation and skin tones are no pictures.
    QTest::newRow("name, keyword, order") << u"dog"_s << QStringList{u"🐕"_s, u"🐶"_s, u"🐩"_s};
    QTest::newRow("keyword prefix last") << u"hot"_s << QStringList{u"🌭"_s};
    QTest::newRow("plural and singular") << u"grapes"_s << QStringList{u"🍇"_s};
    QTest::newRow("a flag by its country") << u"Japan"_s << QStringList{u"🇯🇵"_s};
    QTest::newRow("Japanese, hiragana as katakana") << u"いぬ"_s << QStringList{u"🐕"_s};
    QTest::newRow("Japanese kanji") << u"犬"_s << QStringList{u"🐕"_s};
    QTest::newRow("Japanese by its English") << u"どうぶつ"_s << QStringList{u"🐩"_s};
    QTest::newRow("nothing") << u"spaceship"_s << QStringList{};
}

void TestSuggestions::pictures() {
    QFETCH(QString, word);
    QFETCH(QStringList, expected);
    QStringList found;
    for (const Suggestions::Picture& picture : library().pictures(word))
        found << picture.emoji;
    QCOMPARE(found, expected);
}

void TestSuggestions::deckPicturesComeFirst() {
    QTemporaryDir deck;
    QDir(deck.path()).mkpath(QStringLiteral("images"));
    for (const char* name :
         {"dog.jpg", "Dog_big.JPG", "hotdog.jpg", "dogwood.jpg", "doghouse.txt"}) {
        QFile file(deck.filePath(QStringLiteral("images/") + QLatin1StringView(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QList<Suggestions::Picture> found =
        library().pictures(QStringLiteral("dog"), deck.filePath(QStringLiteral("images")), 4);
    const QList<Suggestions::Picture> expected{
        {{}, u"dog"_s}, {{}, u"Dog_big"_s}, {u"🐕"_s, {}}, {u"🐶"_s, {}}};
    QCOMPARE(found, expected);
}

void TestSuggestions::withoutLibrariesNothingIsSuggested() {
    const Suggestions none(PictureIndex::load(QStringLiteral("/nonexistent")),
                           MeaningDictionary::load(QStringLiteral("/nonexistent/edict")));
    QVERIFY(none.pictures(QStringLiteral("dog")).isEmpty());
    QVERIFY(none.meanings(QStringLiteral("dog")).isEmpty());
}

void TestSuggestions::glossForms_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("gloss");
    QTest::newRow("verb") << u"to Eat"_s << u"eat"_s;
    QTest::newRow("article") << u"a big dog"_s << u"big dog"_s;
    QTest::newRow("nested remark") << u"dog (Canis (lupus) familiaris)"_s << u"dog"_s;
    QTest::newRow("remark only") << u"(something)"_s << u"(something)"_s;
    QTest::newRow("'to' alone stays") << u"to"_s << u"to"_s;
    QTest::newRow("a name keeps its 'the'") << u"the Rabbit (zodiac)"_s << u"the rabbit"_s;
    QTest::newRow("inner brackets stay") << u"pot (for tea) stand"_s << u"pot (for tea) stand"_s;
}

void TestSuggestions::glossForms() {
    QFETCH(QString, text);
    QFETCH(QString, gloss);
    QCOMPARE(SuggestWords::normalGloss(text), gloss);
}

QTEST_GUILESS_MAIN(TestSuggestions)
#include "tst_suggestions.moc"
