// Build-time tool: draws the sample deck's pictures, each an emoji drawn large on a plain
// background in its group's colour, as JPEG files. Which emoji shows which picture is kept in
// pictures.csv; the deck's CSV files say where each picture is used (menu or card, and group).
#include "csv.h"
#include "deckcsv.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <cstdio>

namespace {

const QString emojiFamily = QStringLiteral("Noto Color Emoji");

// Menu pictures (groups, sub-groups) and card pictures have the shapes of the boxes that show
// them, so that stretching keeps the emoji round.
const QSize menuSize(420, 300);
const QSize cardSize(432, 250);

struct Use {
    QSize size;
    qint64 group = 0;
    int depth = 0; // 0 word, 1 sub-group, 2 group: menu pictures are a shade darker
    QString where;
};

QColor background(const Use& use) {
    static const QColor pastel[] = {QColor(0xcd, 0xeb, 0xb4), QColor(0xff, 0xd9, 0xa8),
                                    QColor(0xe3, 0xdd, 0xf5), QColor(0xc9, 0xe4, 0xf8),
                                    QColor(0xfa, 0xd3, 0xdf), QColor(0xff, 0xf0, 0xa8)};
    const QColor base = use.group >= 1 && use.group <= 6 ? pastel[use.group - 1] : Qt::white;
    return base.darker(100 + 12 * use.depth);
}

int graphemeCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

// True when the emoji font draws every grapheme of text as one glyph of its own: a sequence
// the font lacks would fall apart into several glyphs or come from another font.
bool fontShows(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        if (run.rawFont().familyName() != emojiFamily)
            return false;
        for (quint32 index : run.glyphIndexes()) {
            if (index == 0)
                return false;
            ++glyphs;
        }
    }
    return glyphs == graphemeCount(text);
}

QImage draw(const QString& emoji, const Use& use) {
    QImage image(use.size, QImage::Format_RGB32);
    image.fill(background(use));
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    QFont font(emojiFamily);
    font.setPixelSize(100);
    // Fill about 70 % of the height, or 85 % of the width for a row of several emoji.
    const qreal width = QFontMetricsF(font).horizontalAdvance(emoji);
    const qreal scale = std::min(use.size.height() * 0.70 / 100, use.size.width() * 0.85 / width);
    font.setPixelSize(std::max(8, int(100 * scale)));
    painter.setFont(font);
    painter.drawText(QRect(QPoint(0, 0), use.size), Qt::AlignCenter, emoji);
    return image;
}

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
        use(g.ttlimage, {menuSize, g.group, 2, QStringLiteral("groups.csv:%1").arg(g.line)});
    for (const DeckSubGroup& s : deck.deck.subGroups)
        use(s.images, {menuSize, s.group, 1, QStringLiteral("subgroups.csv:%1").arg(s.line)});
    for (const DeckWord& w : deck.deck.words)
        use(w.images, {cardSize, w.group, 0, QStringLiteral("words.csv:%1").arg(w.line)});

    QFont emojiFont(emojiFamily);
    if (QFontInfo(emojiFont).family() != emojiFamily) {
        fail(QStringLiteral("the font %1 is not installed").arg(emojiFamily));
        return 1;
    }
    QDir().mkpath(outDir);
    for (const QString& name : order) {
        const Use& how = uses.value(name);
        // Qt 6.4 gives the variation selector U+FE0F a run in a fallback font, which splits
        // keycaps such as 1️⃣ apart; the emoji font draws emoji presentation without it anyway.
        const QString emoji = QString(emojiOf.value(name)).remove(QChar(0xFE0F));
        if (emoji.isEmpty()) {
            fail(QStringLiteral("%1: picture \"%2\" has no emoji in %3")
                     .arg(how.where, name, mapPath));
            continue;
        }
        if (!fontShows(emoji, emojiFont)) {
            fail(QStringLiteral("%1: %2 cannot show %3").arg(mapPath, emojiFamily, emoji));
            continue;
        }
        const QString file = QDir(outDir).filePath(name + QStringLiteral(".jpg"));
        if (!draw(emoji, how).save(file, "JPG", 90))
            fail(QStringLiteral("%1: cannot be written").arg(file));
    }
    for (auto it = emojiOf.cbegin(); it != emojiOf.cend(); ++it)
        if (!uses.contains(it.key()))
            fail(QStringLiteral("%1: picture \"%2\" is not used by the deck")
                     .arg(mapPath, it.key()));
    return errors == 0 ? 0 : 1;
}
