#include "meaningdictionary.h"

#include "suggestwords.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <tuple>

namespace {

// Senses a young child's deck should not offer.
bool unsuitable(QByteArrayView tag) {
    return tag == "X" || tag == "vulg" || tag == "derog" || tag == "sl" || tag.endsWith("-sl") ||
           tag == "arch" || tag == "obs" || tag == "obsc" || tag == "sens" || tag == "ok" ||
           tag == "ik" || tag == "oik";
}

// "CAT", "TV": letters in capitals only.
bool isAbbreviation(QByteArrayView gloss) {
    return gloss.size() > 1 && std::all_of(gloss.begin(), gloss.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || c == '.';
           });
}

bool isNumber(QByteArrayView text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Takes the bracketed tags off the front of segment: "(v1,vt) (1) to eat" leaves "to eat",
// with the sense number (0 when none) and whether a tag rules the sense out.
QByteArrayView takeTags(QByteArrayView segment, int& senseNumber, bool& ruledOut, bool& noun) {
    senseNumber = 0;
    ruledOut = false;
    noun = false;
    segment = segment.trimmed();
    while (segment.startsWith('(')) {
        const qsizetype close = segment.indexOf(')');
        if (close < 0)
            break;
        const QByteArrayView tags = segment.sliced(1, close - 1);
        if (isNumber(tags)) {
            senseNumber = QByteArray(tags.data(), tags.size()).toInt();
        } else {
            for (const QByteArray& tag : QByteArray(tags.data(), tags.size()).split(',')) {
                ruledOut = ruledOut || unsuitable(tag.trimmed());
                noun = noun || tag.trimmed() == "n";
            }
        }
        segment = segment.sliced(close + 1).trimmed();
    }
    return segment;
}

} // namespace

QString MeaningDictionary::installedFile() {
    return QStringLiteral("/usr/share/edict/edict");
}

MeaningDictionary MeaningDictionary::load(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder decoder("EUC-JP");
    if (!decoder.isValid())
        return {};
    const QString text = decoder.decode(in.readAll());
    return fromText(text.toUtf8());
}

MeaningDictionary MeaningDictionary::fromText(const QByteArray& utf8) {
    MeaningDictionary dictionary;
    qsizetype start = 0;
    while (start < utf8.size()) {
        qsizetype end = utf8.indexOf('\n', start);
        if (end < 0)
            end = utf8.size();
        dictionary.addLine(utf8.sliced(start, end - start));
        start = end + 1;
    }
    const QByteArray& text = dictionary.text_;
    std::stable_sort(dictionary.glosses_.begin(), dictionary.glosses_.end(),
                     [&text](const Gloss& a, const Gloss& b) {
                         return QByteArrayView(text.constData() + a.text, a.length) <
                                QByteArrayView(text.constData() + b.text, b.length);
                     });
    std::stable_sort(dictionary.common_.begin(), dictionary.common_.end(),
                     [&dictionary](const Common& a, const Common& b) {
                         return dictionary.readingOf(a.entry) < dictionary.readingOf(b.entry);
                     });
    dictionary.common_.shrink_to_fit();
    dictionary.text_.squeeze();
    dictionary.entries_.shrink_to_fit();
    dictionary.glosses_.shrink_to_fit();
    return dictionary;
}

void MeaningDictionary::addLine(const QByteArray& line) {
    const qsizetype slash = line.indexOf(" /");
    if (slash <= 0 || !line.endsWith('/'))
        return;
    QByteArrayView head = QByteArrayView(line).first(slash).trimmed();
    const qsizetype open = head.indexOf('[');
    QByteArrayView reading = head;
    if (open >= 0) {
        const qsizetype close = head.indexOf(']', open);
        if (close < 0)
            return;
        reading = head.sliced(open + 1, close - open - 1);
    }
    if (reading.isEmpty() || reading.size() > 0xffff)
        return;

    Entry entry;
    entry.reading = quint32(text_.size());
    entry.length = quint16(reading.size());
    entry.katakana =
        SuggestWords::hiragana(QString::fromUtf8(reading)) != QString::fromUtf8(reading);
    text_.append(reading.data(), reading.size());
    const quint32 index = quint32(entries_.size());
    const std::size_t firstGloss = glosses_.size();

    int sense = 1;
    bool ruledOut = false;
    bool first = true;
    const QList<QByteArray> segments = line.sliced(slash + 2).split('/');
    for (const QByteArray& segment : segments) {
        if (segment == "(P)") {
            entry.common = true;
            continue;
        }
        int number = 0;
        bool rude = false;
        bool noun = false;
        const QByteArrayView gloss = takeTags(segment, number, rude, noun);
        if (first)
            entry.noun = noun;
        if (number > 1) {
            sense = number;
            ruledOut = false;
        }
        ruledOut = ruledOut || rude;
        if (gloss.isEmpty() || ruledOut || isAbbreviation(gloss))
            continue;
        const QString text = QString::fromUtf8(gloss);
        addGloss(SuggestWords::normalGloss(text).toUtf8(),
                 first && sense == 1 ? 0
                 : sense == 1        ? 1
                                     : 2,
                 text.startsWith(QLatin1StringView("to "), Qt::CaseInsensitive), index);
        first = false;
    }
    // An entry every sense of which is unsuitable offers nothing.
    if (glosses_.size() == firstGloss) {
        text_.truncate(entry.reading);
        return;
    }
    entries_.push_back(entry);
    // A common word's writing and first gloss, to find pictures by a Japanese word.
    if (entry.common && glosses_[firstGloss].place == 0) {
        const QByteArrayView headword = open >= 0 ? head.first(open).trimmed() : reading;
        Common common{index, entry.reading, entry.length, glosses_[firstGloss].text,
                      glosses_[firstGloss].length};
        if (headword != reading) {
            common.headword = quint32(text_.size());
            common.headwordLength = quint16(headword.size());
            text_.append(headword.data(), headword.size());
        }
        common_.push_back(common);
    }
}

void MeaningDictionary::addGloss(const QByteArray& gloss, quint8 place, bool verb, quint32 entry) {
    // Only glosses a deck's word could be (a few words) are worth their memory.
    if (gloss.isEmpty() || gloss.size() > 40 || gloss.count(' ') >= 4)
        return;
    glosses_.push_back(Gloss{quint32(text_.size()), quint16(gloss.size()), place, verb, entry});
    text_.append(gloss);
}

QByteArray MeaningDictionary::glossAt(const Gloss& gloss) const {
    return QByteArray::fromRawData(text_.constData() + gloss.text, gloss.length);
}

QStringList MeaningDictionary::meanings(const QString& word, int limit) const {
    QStringList found;
    for (const QString& form : SuggestWords::searchForms(word)) {
        const QByteArray key = SuggestWords::normalGloss(form).toUtf8();
        if (key.isEmpty())
            continue;
        const auto range = std::equal_range(
            glosses_.begin(), glosses_.end(), key, [this](const auto& a, const auto& b) {
                if constexpr (std::is_same_v<std::decay_t<decltype(a)>, Gloss>)
                    return QByteArrayView(glossAt(a)) < QByteArrayView(b);
                else
                    return QByteArrayView(a) < QByteArrayView(glossAt(b));
            });
        std::vector<Gloss> matches(range.first, range.second);
        std::sort(matches.begin(), matches.end(), [this](const Gloss& a, const Gloss& b) {
            const Entry& x = entries_[a.entry];
            const Entry& y = entries_[b.entry];
            return std::tuple(!x.common, a.place, x.katakana, a.verb, !x.noun, a.entry) <
                   std::tuple(!y.common, b.place, y.katakana, b.verb, !y.noun, b.entry);
        });
        QStringList readings;
        for (const Gloss& match : matches) {
            const Entry& entry = entries_[match.entry];
            readings << QString::fromUtf8(text_.constData() + entry.reading, entry.length);
        }
        // A word written in katakana where the dictionary also has it in hiragana (カメ beside
        // かめ) is offered once, in hiragana, at the better of the two places.
        for (const QString& reading : readings) {
            const QString hiragana = SuggestWords::hiragana(reading);
            const QString shown =
                hiragana != reading && readings.contains(hiragana) ? hiragana : reading;
            if (!found.contains(shown))
                found.append(shown);
            if (found.size() >= limit)
                return found;
        }
        if (!found.isEmpty())
            break;
    }
    return found;
}

QByteArrayView MeaningDictionary::readingOf(quint32 entry) const {
    return QByteArrayView(text_.constData() + entries_[entry].reading, entries_[entry].length);
}

MeaningDictionary::Written MeaningDictionary::written(const QString& reading) const {
    const QByteArray key = reading.simplified().toUtf8();
    const auto range =
        std::equal_range(common_.begin(), common_.end(), key, [this](const auto& a, const auto& b) {
            if constexpr (std::is_same_v<std::decay_t<decltype(a)>, Common>)
                return readingOf(a.entry) < QByteArrayView(b);
            else
                return QByteArrayView(a) < readingOf(b.entry);
        });
    Written found;
    for (auto it = range.first; it != range.second; ++it) {
        const QString headword =
            QString::fromUtf8(text_.constData() + it->headword, it->headwordLength);
        const QString gloss = QString::fromUtf8(text_.constData() + it->gloss, it->glossLength);
        if (!found.headwords.contains(headword))
            found.headwords << headword;
        if (!found.english.contains(gloss))
            found.english << gloss;
    }
    return found;
}

qsizetype MeaningDictionary::memoryBytes() const {
    return text_.capacity() + qsizetype(entries_.capacity() * sizeof(Entry)) +
           qsizetype(glosses_.capacity() * sizeof(Gloss)) +
           qsizetype(common_.capacity() * sizeof(Common));
}
