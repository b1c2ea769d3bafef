#include "legacydeck.h"

#include "jetfile.h"
#include "legacyerror.h"
#include "recordsources.h"

#include <QSet>
#include <cmath>
#include <limits>
#include <optional>
#include <worddataformat.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 maxInt32 = std::numeric_limits<qint32>::max();

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

QVariant optionalText(const QVariant& value) {
    return value.isValid() ? QVariant(value.toString()) : QVariant();
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
    explicit Reader(const JetFile& file)
        : file_(file)
        , sources_(file) {}

    LegacyDeck read() {
        readGroups();
        readSubGroups();
        readWords();
        return std::move(deck_);
    }

  private:
    const JetFile& file_;
    RecordSources sources_;
    LegacyDeck deck_;

    void leaveOut(const QString& what, const QString& why) {
        deck_.leftOut << what + u": "_s + why;
    }

    // The text of a required field, or nothing (and the row is reported) when it is Null.
    std::optional<QString> required(const Rows& rows, const QVariantList& row, const QString& field,
                                    const QString& what) {
        const QVariant value = rows.value(row, field);
        if (!value.isValid()) {
            leaveOut(what, u"%1 is empty (Null)"_s.arg(field));
            return std::nullopt;
        }
        return value.toString();
    }

    std::optional<qint64> number(const Rows& rows, const QVariantList& row, const QString& field,
                                 const QString& what, qint64 low, qint64 high) {
        const auto value = integer(rows.value(row, field));
        if (!value) {
            leaveOut(what, u"%1 is not a whole number"_s.arg(field));
            return std::nullopt;
        }
        if (*value < low || *value > high) {
            leaveOut(what, u"%1 %2 is outside %3..%4"_s.arg(field).arg(*value).arg(low).arg(high));
            return std::nullopt;
        }
        return value;
    }

    void readGroups() {
        const Rows rows(sources_, u"tittle"_s,
                        {u"group"_s, u"tittle"_s, u"ttlimage"_s, u"setmei"_s});
        QSet<qint64> seen;
        int line = 0;
        for (const QVariantList& row : rows.table().rows) {
            const QString what = u"tittle row %1"_s.arg(++line);
            const auto group = number(rows, row, u"group"_s, what, WordDataFormat::firstGroup,
                                      WordDataFormat::lastGroup);
            if (!group)
                continue;
            if (seen.contains(*group)) {
                leaveOut(what, u"group %1 comes twice"_s.arg(*group));
                continue;
            }
            const auto tittle = required(rows, row, u"tittle"_s, what);
            const auto ttlimage = tittle ? required(rows, row, u"ttlimage"_s, what) : std::nullopt;
            const auto setmei = ttlimage ? required(rows, row, u"setmei"_s, what) : std::nullopt;
            if (!setmei)
                continue;
            seen.insert(*group);
            deck_.groups << LegacyGroup{*group, *tittle, *ttlimage, *setmei};
        }
        if (deck_.groups.isEmpty())
            throw LegacyError(LegacyError::Reason::NotWordData, u"tittle holds no usable group"_s);
    }

    void readSubGroups() {
        const Rows rows(sources_, u"ordered"_s, {u"group"_s, u"sgroup"_s, u"images"_s});
        const Rows marks(sources_, u"selected"_s, {u"group"_s, u"sgroup"_s, u"select"_s});
        // Where several rows match, the first is the one the program reads.
        QHash<std::pair<qint64, qint64>, bool> marked;
        for (const QVariantList& row : marks.table().rows) {
            const auto group = integer(marks.value(row, u"group"_s));
            const auto sgroup = integer(marks.value(row, u"sgroup"_s));
            if (group && sgroup && !marked.contains({*group, *sgroup}))
                marked.insert({*group, *sgroup}, truth(marks.value(row, u"select"_s)));
        }
        QSet<qint64> groups;
        for (const LegacyGroup& group : deck_.groups)
            groups.insert(group.group);
        QSet<std::pair<qint64, qint64>> seen;
        int line = 0;
        for (const QVariantList& row : rows.table().rows) {
            const QString what = u"ordered row %1"_s.arg(++line);
            const auto group = number(rows, row, u"group"_s, what, WordDataFormat::firstGroup,
                                      WordDataFormat::lastGroup);
            const auto sgroup =
                group ? number(rows, row, u"sgroup"_s, what, 1, maxInt32) : std::nullopt;
            if (!sgroup)
                continue;
            if (!groups.contains(*group)) {
                leaveOut(what, u"group %1 is not in tittle"_s.arg(*group));
                continue;
            }
            if (seen.contains({*group, *sgroup})) {
                leaveOut(what, u"sub-group %1-%2 comes twice"_s.arg(*group).arg(*sgroup));
                continue;
            }
            const auto images = required(rows, row, u"images"_s, what);
            if (!images)
                continue;
            seen.insert({*group, *sgroup});
            deck_.subGroups << LegacySubGroup{*group, *sgroup, *images,
                                              marked.value({*group, *sgroup}, false)};
        }
    }

    // The word table's columns that hold a word's group and sub-group: its own group and
    // sgroup, or those that select_word joins with the sub-group table's.
    std::pair<QString, QString> subGroupColumns(const JetTable& words) {
        if (words.column(u"group"_s) >= 0 && words.column(u"sgroup"_s) >= 0)
            return {u"group"_s, u"sgroup"_s};
        QHash<QString, QString> ordered;
        const QString subGroups =
            sources_.baseTable(u"ordered"_s, {u"group"_s, u"sgroup"_s}, &ordered);
        const QString query = file_.queryNamed(u"select_word"_s);
        if (query.isEmpty())
            throw LegacyError(LegacyError::Reason::NotWordData,
                              u"word has no group and sgroup, and the record source select_word "
                              u"is missing"_s);
        QString group;
        QString sgroup;
        for (const auto& [left, right] : sources_.joinedColumns(query)) {
            for (const auto& [w, s] : {std::pair{left, right}, std::pair{right, left}}) {
                if (w.table.compare(words.name, Qt::CaseInsensitive) != 0 ||
                    s.table.compare(subGroups, Qt::CaseInsensitive) != 0)
                    continue;
                if (s.column.compare(ordered.value(u"group"_s), Qt::CaseInsensitive) == 0)
                    group = w.column;
                else if (s.column.compare(ordered.value(u"sgroup"_s), Qt::CaseInsensitive) == 0)
                    sgroup = w.column;
            }
        }
        if (group.isEmpty() || sgroup.isEmpty())
            throw LegacyError(LegacyError::Reason::Query,
                              u"the saved query %1 cannot be understood: no join of word with "
                              u"the group and sgroup of %2"_s.arg(query, subGroups));
        return {group, sgroup};
    }

    void readWords() {
        const QString name = file_.tableNamed(u"word"_s);
        if (name.isEmpty())
            throw LegacyError(LegacyError::Reason::NotWordData,
                              u"the record source word is missing"_s);
        const JetTable& words = sources_.table(name);
        const auto [groupColumn, sgroupColumn] = subGroupColumns(words);
        const auto at = [&](const QString& column) { return words.column(column); };
        for (const QString& field :
             {u"key"_s, u"level"_s, u"times"_s, u"word"_s, u"images"_s, u"voice"_s})
            if (at(field) < 0)
                throw LegacyError(LegacyError::Reason::NotWordData,
                                  u"the record source word lacks the field %1"_s.arg(field));
        const auto cell = [&](const QVariantList& row, const QString& column) {
            const int i = at(column);
            return i >= 0 && i < row.size() ? row[i] : QVariant();
        };
        QSet<std::pair<qint64, qint64>> subGroups;
        for (const LegacySubGroup& s : deck_.subGroups)
            subGroups.insert({s.group, s.sgroup});
        QSet<qint64> keys;
        int line = 0;
        for (const QVariantList& row : words.rows) {
            ++line;
            const auto key = integer(cell(row, u"key"_s));
            const QString what = key ? u"word key %1"_s.arg(*key) : u"word row %1"_s.arg(line);
            if (!key || *key < 1 || *key > maxInt32) {
                leaveOut(what, u"key is not a positive 32-bit number"_s);
                continue;
            }
            if (keys.contains(*key)) {
                leaveOut(what, u"the key comes twice"_s);
                continue;
            }
            const auto group = integer(cell(row, groupColumn));
            const auto sgroup = integer(cell(row, sgroupColumn));
            if (!group || !sgroup || !subGroups.contains({*group, *sgroup})) {
                leaveOut(what, u"its sub-group is not in ordered"_s);
                continue;
            }
            const auto level = integer(cell(row, u"level"_s));
            if (!level || *level < WordDataFormat::lowestLevel ||
                *level > WordDataFormat::highestLevel) {
                leaveOut(what, u"level %1 is outside 0..5"_s.arg(cell(row, u"level"_s).toString()));
                continue;
            }
            const auto times = integer(cell(row, u"times"_s));
            if (!times || *times < 0 || *times > maxInt32) {
                leaveOut(what, u"times is not a count"_s);
                continue;
            }
            const QVariant filler1 = cell(row, u"filler1"_s);
            const auto filler = integer(filler1);
            if (filler1.isValid() &&
                (!filler || *filler < std::numeric_limits<qint32>::min() || *filler > maxInt32)) {
                leaveOut(what, u"filler1 is not a 32-bit number"_s);
                continue;
            }
            bool complete = true;
            for (const QString& field : {u"word"_s, u"images"_s, u"voice"_s})
                if (complete && !cell(row, field).isValid()) {
                    leaveOut(what, u"%1 is empty (Null)"_s.arg(field));
                    complete = false;
                }
            if (!complete)
                continue;
            keys.insert(*key);
            deck_.words << LegacyWord{*key,
                                      *group,
                                      *sgroup,
                                      *level,
                                      *times,
                                      cell(row, u"word"_s).toString(),
                                      optionalText(cell(row, u"meaning"_s)),
                                      cell(row, u"images"_s).toString(),
                                      cell(row, u"voice"_s).toString(),
                                      optionalText(cell(row, u"text1"_s)),
                                      optionalText(cell(row, u"text2"_s)),
                                      filler ? QVariant(*filler) : QVariant(),
                                      optionalText(cell(row, u"filler2"_s)),
                                      optionalText(cell(row, u"filler3"_s))};
        }
    }
};

} // namespace

LegacyDeck readLegacyDeck(const JetFile& file) {
    return Reader(file).read();
}
