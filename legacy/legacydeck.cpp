#include "legacydeck.h"

#include "jetfile.h"
#include "legacyerror.h"
#include "recordsources.h"

#include <QSet>
#include <cmath>
#include <deckvalidator.h>
#include <optional>

namespace {

std::optional<qint64> integer(const QVariant& value) {
    if (!value.isValid())
        return std::nullopt;
    if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        if (std::floor(d) != d || std::abs(d) > 9e15)
            return std::nullopt;
        return qint64(d);
    }
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0; // Jet's True
    bool ok = false;
    const qint64 v = value.toString().trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

bool truth(const QVariant& value) {
    const auto n = integer(value);
    return n.has_value() && *n != 0;
}

// Null stays a null text, apart from an empty one.
QString optionalText(const QVariant& value) {
    return value.isValid() ? value.toString() : QString();
}

// Reads the rows of one record source's base table, field by field.
class Rows {
  public:
    Rows(const RecordSources& sources, const QString& source, const QStringList& required,
         const QStringList& optional = {})
        : source_(source) {
        QHash<QString, QString> columns;
        table_ = &sources.table(sources.baseTable(source, required, &columns));
        // Optional fields may be missing; they then read as Null.
        const auto all = sources.fields(source);
        for (const QString& field : optional) {
            const auto base = all.value(field.toLower());
            if (!base.table.isEmpty() && base.table.compare(table_->name, Qt::CaseInsensitive) == 0)
                columns.insert(field, base.column);
        }
        for (auto it = columns.cbegin(); it != columns.cend(); ++it)
            index_.insert(it.key(), table_->column(it.value()));
    }
    const JetTable& table() const { return *table_; }
    QVariant value(const QVariantList& row, const QString& field) const {
        const int at = index_.value(field, -1);
        return at >= 0 && at < row.size() ? row[at] : QVariant();
    }
    bool has(const QString& field) const { return index_.value(field, -1) >= 0; }

  private:
    QString source_;
    const JetTable* table_ = nullptr;
    QHash<QString, int> index_;
};

class Reader {
  public:
    Reader(const JetFile& file, QStringList& leftOut)
        : file_(file)
        , sources_(file)
        , leftOut_(leftOut) {}

    Deck read() {
        readGroups();
        readSubGroups();
        readWords();
        return std::move(deck_);
    }

  private:
    const JetFile& file_;
    RecordSources sources_;
    QStringList& leftOut_;
    Deck deck_;

    void leaveOut(const QString& what, const QString& why) {
        leftOut_ << what + QStringLiteral(": ") + why;
    }

    // A required text as a text: Null and bytes (a damaged column) leave the row out; whether
    // it is blank or a media name is plain is for the deck rules.
    std::optional<QString> text(const QVariant& value, const QString& field, const QString& what) {
        if (!value.isValid()) {
            leaveOut(what, QStringLiteral("%1 is empty (Null)").arg(field));
            return std::nullopt;
        }
        if (value.typeId() == QMetaType::QByteArray) {
            leaveOut(what, QStringLiteral("%1 cannot be read as a text").arg(field));
            return std::nullopt;
        }
        return value.toString();
    }

    std::optional<qint64> whole(const QVariant& value, const QString& field, const QString& what) {
        const auto number = integer(value);
        if (!number)
            leaveOut(what, QStringLiteral("%1 is not a whole number").arg(field));
        return number;
    }

    // The row passes the deck rules a row must satisfy alone (the same as pml-build's), or it is
    // left out with the first rule it breaks.
    template <typename Row> bool passes(const Row& row, const QString& what) {
        const DeckProblems problems = checkRow(row);
        if (!problems.isEmpty())
            leaveOut(what, problems.first().message);
        return problems.isEmpty();
    }

    void readGroups() {
        const Rows rows(sources_, QStringLiteral("tittle"),
                        {QStringLiteral("group"), QStringLiteral("tittle"),
                         QStringLiteral("ttlimage"), QStringLiteral("setmei")});
        QSet<qint64> seen;
        int line = 0;
        for (const QVariantList& row : rows.table().rows) {
            const QString what = QStringLiteral("tittle row %1").arg(++line);
            const auto value = [&](const char* field) {
                return rows.value(row, QString::fromLatin1(field));
            };
            const auto group = whole(value("group"), QStringLiteral("group"), what);
            const auto tittle =
                group ? text(value("tittle"), QStringLiteral("tittle"), what) : std::nullopt;
            const auto ttlimage =
                tittle ? text(value("ttlimage"), QStringLiteral("ttlimage"), what) : std::nullopt;
            const auto setmei =
                ttlimage ? text(value("setmei"), QStringLiteral("setmei"), what) : std::nullopt;
            if (!setmei)
                continue;
            const DeckGroup read{0, *group, *tittle, *ttlimage, *setmei};
            if (!passes(read, what))
                continue;
            if (seen.contains(*group)) {
                leaveOut(what, QStringLiteral("group %1 comes twice").arg(*group));
                continue;
            }
            seen.insert(*group);
            deck_.groups << read;
        }
        if (deck_.groups.isEmpty())
            throw LegacyError(LegacyError::Reason::NotWordData,
                              QStringLiteral("tittle holds no usable group"));
    }

    void readSubGroups() {
        const Rows rows(
            sources_, QStringLiteral("ordered"),
            {QStringLiteral("group"), QStringLiteral("sgroup"), QStringLiteral("images")});
        const Rows marks(
            sources_, QStringLiteral("selected"),
            {QStringLiteral("group"), QStringLiteral("sgroup"), QStringLiteral("select")});
        // Where several rows match, the first is the one the program reads.
        QHash<std::pair<qint64, qint64>, bool> marked;
        for (const QVariantList& row : marks.table().rows) {
            const auto group = integer(marks.value(row, QStringLiteral("group")));
            const auto sgroup = integer(marks.value(row, QStringLiteral("sgroup")));
            if (group && sgroup && !marked.contains({*group, *sgroup}))
                marked.insert({*group, *sgroup}, truth(marks.value(row, QStringLiteral("select"))));
        }
        QSet<qint64> groups;
        for (const DeckGroup& group : deck_.groups)
            groups.insert(group.group);
        QSet<std::pair<qint64, qint64>> seen;
        int line = 0;
        for (const QVariantList& row : rows.table().rows) {
            const QString what = QStringLiteral("ordered row %1").arg(++line);
            const auto value = [&](const char* field) {
                return rows.value(row, QString::fromLatin1(field));
            };
            const auto group = whole(value("group"), QStringLiteral("group"), what);
            const auto sgroup =
                group ? whole(value("sgroup"), QStringLiteral("sgroup"), what) : std::nullopt;
            const auto images =
                sgroup ? text(value("images"), QStringLiteral("images"), what) : std::nullopt;
            if (!images)
                continue;
            const DeckSubGroup read{0, *group, *sgroup, *images,
                                    marked.value({*group, *sgroup}, false)};
            if (!passes(read, what))
                continue;
            if (!groups.contains(*group)) {
                leaveOut(what, QStringLiteral("group %1 is not in tittle").arg(*group));
                continue;
            }
            if (seen.contains({*group, *sgroup})) {
                leaveOut(what,
                         QStringLiteral("sub-group %1-%2 comes twice").arg(*group).arg(*sgroup));
                continue;
            }
            seen.insert({*group, *sgroup});
            deck_.subGroups << read;
        }
    }

    // The word table's columns that hold a word's group and sub-group: its own group and
    // sgroup, or those that select_word joins with the sub-group table's.
    std::pair<QString, QString> subGroupColumns(const JetTable& words) {
        if (words.column(QStringLiteral("group")) >= 0 &&
            words.column(QStringLiteral("sgroup")) >= 0)
            return {QStringLiteral("group"), QStringLiteral("sgroup")};
        QHash<QString, QString> ordered;
        const QString subGroups =
            sources_.baseTable(QStringLiteral("ordered"),
                               {QStringLiteral("group"), QStringLiteral("sgroup")}, &ordered);
        const QString query = file_.queryNamed(QStringLiteral("select_word"));
        if (query.isEmpty())
            throw LegacyError(
                LegacyError::Reason::NotWordData,
                QStringLiteral("word has no group and sgroup, and the record source select_word "
                               "is missing"));
        QString group;
        QString sgroup;
        for (const auto& [left, right] : sources_.joinedColumns(query)) {
            for (const auto& [w, s] : {std::pair{left, right}, std::pair{right, left}}) {
                if (w.table.compare(words.name, Qt::CaseInsensitive) != 0 ||
                    s.table.compare(subGroups, Qt::CaseInsensitive) != 0)
                    continue;
                if (s.column.compare(ordered.value(QStringLiteral("group")), Qt::CaseInsensitive) ==
                    0)
                    group = w.column;
                else if (s.column.compare(ordered.value(QStringLiteral("sgroup")),
                                          Qt::CaseInsensitive) == 0)
                    sgroup = w.column;
            }
        }
        if (group.isEmpty() || sgroup.isEmpty())
            throw LegacyError(
                LegacyError::Reason::Query,
                QStringLiteral("the saved query %1 cannot be understood: no join of word with "
                               "the group and sgroup of %2")
                    .arg(query, subGroups));
        return {group, sgroup};
    }

    void readWords() {
        const QString name = file_.tableNamed(QStringLiteral("word"));
        if (name.isEmpty())
            throw LegacyError(LegacyError::Reason::NotWordData,
                              QStringLiteral("the record source word is missing"));
        const JetTable& words = sources_.table(name);
        const auto [groupColumn, sgroupColumn] = subGroupColumns(words);
        const auto at = [&](const QString& column) { return words.column(column); };
        for (const QString& field :
             {QStringLiteral("key"), QStringLiteral("level"), QStringLiteral("times"),
              QStringLiteral("word"), QStringLiteral("images"), QStringLiteral("voice")})
            if (at(field) < 0)
                throw LegacyError(
                    LegacyError::Reason::NotWordData,
                    QStringLiteral("the record source word lacks the field %1").arg(field));
        const auto cell = [&](const QVariantList& row, const QString& column) {
            const int i = at(column);
            return i >= 0 && i < row.size() ? row[i] : QVariant();
        };
        QSet<std::pair<qint64, qint64>> subGroups;
        for (const DeckSubGroup& s : deck_.subGroups)
            subGroups.insert({s.group, s.sgroup});
        QSet<qint64> keys;
        int line = 0;
        for (const QVariantList& row : words.rows) {
            ++line;
            const auto key = integer(cell(row, QStringLiteral("key")));
            const QString what = key ? QStringLiteral("word key %1").arg(*key)
                                     : QStringLiteral("word row %1").arg(line);
            if (!key) {
                leaveOut(what, QStringLiteral("key is not a whole number"));
                continue;
            }
            const auto group = integer(cell(row, groupColumn));
            const auto sgroup = integer(cell(row, sgroupColumn));
            if (!group || !sgroup) {
                leaveOut(what, QStringLiteral("its sub-group is not in ordered"));
                continue;
            }
            DeckWord word;
            word.key = *key;
            word.group = *group;
            word.sgroup = *sgroup;
            const auto level =
                whole(cell(row, QStringLiteral("level")), QStringLiteral("level"), what);
            const auto times =
                level ? whole(cell(row, QStringLiteral("times")), QStringLiteral("times"), what)
                      : std::nullopt;
            if (!times)
                continue;
            word.level = *level;
            word.times = *times;
            if (const QVariant filler1 = cell(row, QStringLiteral("filler1")); filler1.isValid()) {
                word.filler1 = whole(filler1, QStringLiteral("filler1"), what);
                if (!word.filler1)
                    continue;
            }
            std::optional<QString> texts[3];
            const QString fields[3] = {QStringLiteral("word"), QStringLiteral("images"),
                                       QStringLiteral("voice")};
            bool complete = true;
            for (int i = 0; i < 3 && complete; ++i) {
                texts[i] = text(cell(row, fields[i]), fields[i], what);
                complete = texts[i].has_value();
            }
            if (!complete)
                continue;
            word.word = *texts[0];
            word.meaning = optionalText(cell(row, QStringLiteral("meaning")));
            word.images = *texts[1];
            word.voice = *texts[2];
            word.text1 = optionalText(cell(row, QStringLiteral("text1")));
            word.text2 = optionalText(cell(row, QStringLiteral("text2")));
            word.filler2 = optionalText(cell(row, QStringLiteral("filler2")));
            word.filler3 = optionalText(cell(row, QStringLiteral("filler3")));
            if (!passes(word, what))
                continue;
            if (keys.contains(*key)) {
                leaveOut(what, QStringLiteral("the key comes twice"));
                continue;
            }
            if (!subGroups.contains({*group, *sgroup})) {
                leaveOut(what, QStringLiteral("its sub-group is not in ordered"));
                continue;
            }
            keys.insert(*key);
            deck_.words << word;
        }
    }
};

} // namespace

Deck readLegacyDeck(const JetFile& file, QStringList& leftOut) {
    return Reader(file, leftOut).read();
}
