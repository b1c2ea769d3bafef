#include "pictureindex.h"

#include "suggestwords.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>

namespace {

// Emoji only: the annotations also name punctuation, arrows and letters, which make no picture.
bool isEmoji(const QString& text) {
    const QList<uint> points = text.toUcs4();
    // A skin-tone variant: the plain one is enough.
    if (std::any_of(points.begin(), points.end(),
                    [](uint c) { return c >= 0x1F3FB && c <= 0x1F3FF; }))
        return false;
    for (const uint c : points) {
        if (c == 0xFE0F || c >= 0x1F000 || (c >= 0x2600 && c <= 0x27BF) ||
            (c >= 0x2B00 && c <= 0x2BFF) || (c >= 0x2300 && c <= 0x23FF))
            return true;
    }
    return false;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QString PictureIndex::installedFolder() {
    return QStringLiteral("/usr/share/unicode/cldr/common");
}

PictureIndex PictureIndex::load(const QString& folder) {
    PictureIndex index;
    for (const QString& set :
         {QStringLiteral("/annotations/"), QStringLiteral("/annotationsDerived/")}) {
        index.addAnnotations(readFile(folder + set + QStringLiteral("en.xml")), false);
        index.addAnnotations(readFile(folder + set + QStringLiteral("ja.xml")), true);
    }
    return index;
}

void PictureIndex::addAnnotations(const QByteArray& xml, bool japanese) {
    std::vector<Item>& items = japanese ? japanese_ : english_;
    QHash<QString, qsizetype> place;
    for (qsizetype i = 0; i < qsizetype(items.size()); ++i)
        place.insert(items[i].emoji, i);
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() != u"annotation")
            continue;
        const QString emoji = reader.attributes().value(QLatin1StringView("cp")).toString();
        const bool spoken = reader.attributes().value(QLatin1StringView("type")) == u"tts";
        const QString text = reader.readElementText().simplified().toLower();
        if (!isEmoji(emoji))
            continue;
        auto found = place.constFind(emoji);
        if (found == place.constEnd()) {
            found = place.insert(emoji, qsizetype(items.size()));
            items.push_back(Item{emoji, {}, {}});
        }
        Item& item = items[*found];
        if (spoken) {
            item.name = text;
            // "flag: japan": the country is what a parent types.
            const qsizetype colon = text.indexOf(u':');
            if (colon > 0)
                item.keywords << text.sliced(colon + 1).trimmed();
        } else {
            for (const QString& keyword : text.split(u'|', Qt::SkipEmptyParts))
                item.keywords << keyword.trimmed();
        }
    }
}

QStringList PictureIndex::search(const QString& word, int limit) const {
    const bool japanese = SuggestWords::isJapanese(word);
    const std::vector<Item>& items = japanese ? japanese_ : english_;
    QStringList forms = SuggestWords::searchForms(word);
    if (japanese)
        forms = {word.simplified(), SuggestWords::katakana(word.simplified())};
    std::vector<std::pair<int, qsizetype>> ranked;
    for (qsizetype i = 0; i < qsizetype(items.size()); ++i) {
        const Item& item = items[i];
        int best = 99;
        for (qsizetype f = 0; f < forms.size(); ++f) {
            const QString query = forms[f].toLower();
            if (query.isEmpty())
                continue;
            const int offset = 3 * int(f);
            if (item.name == query)
                best = std::min(best, offset);
            for (const QString& keyword : item.keywords) {
                if (keyword == query)
                    best = std::min(best, offset + 1);
                else if (keyword.startsWith(query))
                    best = std::min(best, offset + 2);
            }
        }
        if (best < 99)
            ranked.emplace_back(best, i);
    }
    // Among equals, the emoji with fewer keywords is the more specific picture: 🚗 (car,
    // automobile) before 🚃 (car, railway, train, tram, …).
    std::stable_sort(ranked.begin(), ranked.end(), [&items](const auto& a, const auto& b) {
        return std::pair(a.first, items[a.second].keywords.size()) <
               std::pair(b.first, items[b.second].keywords.size());
    });
    QStringList found;
    for (const auto& [rank, i] : ranked) {
        if (found.size() >= limit)
            break;
        found << items[i].emoji;
    }
    return found;
}

qsizetype PictureIndex::memoryBytes() const {
    qsizetype bytes = 0;
    for (const auto* items : {&english_, &japanese_})
        for (const Item& item : *items) {
            bytes += sizeof(Item) + 2 * (item.emoji.capacity() + item.name.capacity());
            for (const QString& keyword : item.keywords)
                bytes += sizeof(QString) + 2 * keyword.capacity();
        }
    return bytes;
}
