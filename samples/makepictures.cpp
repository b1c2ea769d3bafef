// Build-time tool: draws the sample deck's pictures, each an emoji drawn large on a plain
// background in its group's colour, as JPEG files. Which emoji shows which picture is kept in
// pictures.csv; the deck's CSV files say where each picture is used (menu or card, and group).
#include "csv.h"
#include "deckcsv.h"
#include "emojipicture.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <cstdio>

namespace {

struct Use {
    QSize size;
    qint64 group = 0;
    int depth = 0; // 0 word, 1 sub-group, 2 group: menu pictures are a shade darker
    QString where;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: make-sample-pictures PICTURES.csv DECKDIR OUTDIR\n");
        return 2;
    }
    const QString mapPath = QString::fromLocal8Bit(argv[1]);
    const QString outDir = QString::fromLocal8Bit(argv[3]);
    int errors = 0;
    const auto fail = [&errors](const QString& message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        ++errors;
    };

    QFile mapFile(mapPath);
    if (!mapFile.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("%1: %2").arg(mapPath, mapFile.errorString()));
        return 1;
    }
    QHash<QString, QString> emojiOf;
    const Csv::Table map = Csv::parse(mapFile.readAll());
    for (const Csv::Error& error : map.errors)
        fail(QStringLiteral("%1:%2: %3").arg(mapPath).arg(error.line).arg(error.message));
    for (qsizetype i = 1; i < map.records.size(); ++i) { // record 0 is the header
        const Csv::Record& record = map.records.at(i);
        if (record.fields.size() != 2)
            fail(QStringLiteral("%1:%2: expected picture,emoji").arg(mapPath).arg(record.line));
        else
            emojiOf.insert(record.fields.at(0), record.fields.at(1));
    }

    // Where each picture is used; the first use decides its shape and colour.
    const DeckCsv::ReadResult deck = DeckCsv::readUnchecked(QString::fromLocal8Bit(argv[2]));
    for (const DeckProblem& problem : deck.problems)
        fail(problem.toString());
    QHash<QString, Use> uses;
    QStringList order;
    const auto use = [&](const QString& name, const Use& how) {
        if (!uses.contains(name)) {
            uses.insert(name, how);
            order << name;
        }
    };
    for (const DeckGroup& g : deck.deck.groups)
        use(g.ttlimage,
            {EmojiPicture::MenuShape, g.group, 2, QStringLiteral("groups.csv:%1").arg(g.line)});
    for (const DeckSubGroup& s : deck.deck.subGroups)
        use(s.images,
            {EmojiPicture::MenuShape, s.group, 1, QStringLiteral("subgroups.csv:%1").arg(s.line)});
    for (const DeckWord& w : deck.deck.words)
        use(w.images,
            {EmojiPicture::CardShape, w.group, 0, QStringLiteral("words.csv:%1").arg(w.line)});

    if (!EmojiPicture::fontInstalled()) {
        fail(QStringLiteral("the font %1 is not installed").arg(EmojiPicture::family()));
        return 1;
    }
    QDir().mkpath(outDir);
    for (const QString& name : order) {
        const Use& how = uses.value(name);
        const QString emoji = EmojiPicture::drawable(emojiOf.value(name));
        if (emoji.isEmpty()) {
            fail(QStringLiteral("%1: picture \"%2\" has no emoji in %3")
                     .arg(how.where, name, mapPath));
            continue;
        }
        if (!EmojiPicture::fontShows(emoji)) {
            fail(QStringLiteral("%1: %2 cannot show %3")
                     .arg(mapPath, EmojiPicture::family(), emoji));
            continue;
        }
        const QString file = QDir(outDir).filePath(name + QStringLiteral(".jpg"));
        const QColor background = EmojiPicture::softBackground(how.group, how.depth);
        if (!EmojiPicture::draw(emoji, how.size, background).save(file, "JPG", 90))
            fail(QStringLiteral("%1: cannot be written").arg(file));
    }
    for (auto it = emojiOf.cbegin(); it != emojiOf.cend(); ++it)
        if (!uses.contains(it.key()))
            fail(QStringLiteral("%1: picture \"%2\" is not used by the deck")
                     .arg(mapPath, it.key()));
    return errors == 0 ? 0 : 1;
}
