#include "deck.h"

#include <QHash>
#include <array>
#include <type_traits>

namespace {

template <typename> struct MemberOf;
template <typename Record, typename Value> struct MemberOf<Value Record::*> {
    using record = Record;
    using value = Value;
};

// One column from a member pointer, so that every column is named once, here.
template <auto Member, Presence P> constexpr auto column(const char* name) {
    using Record = typename MemberOf<decltype(Member)>::record;
    using Value = typename MemberOf<decltype(Member)>::value;
    constexpr FieldKind kind =
        std::is_same_v<Value, QString> ? FieldKind::Text : FieldKind::Integer;
    return DeckField<Record>{
        QLatin1StringView(name), kind, P,
        [](const Record& r) -> QVariant {
            const Value& v = r.*Member;
            if constexpr (std::is_same_v<Value, QString>)
                return P == Presence::Optional && v.isNull()
                           ? QVariant(QMetaType::fromType<QString>())
                           : QVariant(v);
            else if constexpr (std::is_same_v<Value, std::optional<qint64>>)
                return v ? QVariant(*v) : QVariant(QMetaType::fromType<qint64>());
            else
                return QVariant(v);
        },
        [](Record& r, const QVariant& v) {
            if constexpr (std::is_same_v<Value, QString>)
                r.*Member = v.isNull() ? QString() : v.toString();
            else if constexpr (std::is_same_v<Value, std::optional<qint64>>)
                r.*Member = v.isNull() ? std::nullopt : std::optional<qint64>(v.toLongLong());
            else
                r.*Member = v.toLongLong();
        }};
}

constexpr auto R = Presence::Required;
constexpr auto D = Presence::Defaulted;
constexpr auto O = Presence::Optional;

const std::array groupFields{
    column<&DeckGroup::group, R>("group"),
    column<&DeckGroup::tittle, R>("tittle"),
    column<&DeckGroup::ttlimage, R>("ttlimage"),
    column<&DeckGroup::setmei, R>("setmei"),
};

const std::array subGroupFields{
    column<&DeckSubGroup::group, R>("group"),
    column<&DeckSubGroup::sgroup, R>("sgroup"),
    column<&DeckSubGroup::images, R>("images"),
};

const std::array wordFields{
    column<&DeckWord::key, R>("key"),         column<&DeckWord::group, R>("group"),
    column<&DeckWord::sgroup, R>("sgroup"),   column<&DeckWord::level, D>("level"),
    column<&DeckWord::times, D>("times"),     column<&DeckWord::word, R>("word"),
    column<&DeckWord::meaning, O>("meaning"), column<&DeckWord::images, R>("images"),
    column<&DeckWord::voice, R>("voice"),     column<&DeckWord::text1, O>("text1"),
    column<&DeckWord::text2, O>("text2"),     column<&DeckWord::filler1, O>("filler1"),
    column<&DeckWord::filler2, O>("filler2"), column<&DeckWord::filler3, O>("filler3"),
};

const std::array historyFields{
    column<&DeckHistory::time, R>("time"),
    column<&DeckHistory::key, R>("key"),
    column<&DeckHistory::before, R>("before"),
    column<&DeckHistory::after, R>("after"),
};

const std::array historyCsvFields{
    historyFields[0], historyFields[1], column<&DeckHistory::word, O>("word"),
    historyFields[2], historyFields[3],
};

} // namespace

namespace DeckFields {
std::span<const DeckField<DeckGroup>> groups() {
    return groupFields;
}
std::span<const DeckField<DeckSubGroup>> subGroups() {
    return subGroupFields;
}
std::span<const DeckField<DeckWord>> words() {
    return wordFields;
}
std::span<const DeckField<DeckHistory>> history() {
    return historyFields;
}
std::span<const DeckField<DeckHistory>> historyCsv() {
    return historyCsvFields;
}
} // namespace DeckFields

void nameHistory(QList<DeckHistory>& history, const QList<DeckWord>& words) {
    QHash<qint64, QString> wordOf;
    for (const DeckWord& w : words)
        wordOf.insert(w.key, w.word);
    for (DeckHistory& row : history)
        row.word = wordOf.value(row.key);
}
