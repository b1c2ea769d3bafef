#include "statements.h"

#include "worddataformat.h"

namespace Source = WordDataFormat::RecordSource;

namespace Statements {

Statement selectedSubGroup(int group, int sgroup) {
    return {
        QStringLiteral("SELECT * FROM \"selected\" WHERE \"selected\".\"group\" = ?"
                       " AND \"selected\".\"sgroup\" = ?;"),
        {group, sgroup},
        Source::selected,
        QStringLiteral("SELECT count(*) FROM \"selected\" WHERE \"group\" = ? AND \"sgroup\" = ?")};
}

Statement subGroupPage(int group, int firstSgroup) {
    return {
        QStringLiteral("SELECT * FROM \"ordered\" WHERE \"ordered\".\"group\" = ?"
                       " AND \"ordered\".\"sgroup\" >= ? ORDER BY \"ordered\".\"sgroup\";"),
        {group, firstSgroup},
        Source::ordered,
        QStringLiteral("SELECT count(*) FROM \"ordered\" WHERE \"group\" = ? AND \"sgroup\" >= ?")};
}

Statement groupTallies(int group) {
    return {QStringLiteral("SELECT * FROM \"syukei\" WHERE \"syukei\".\"group\" = ?"),
            {group},
            Source::syukei,
            QStringLiteral("SELECT count(*) FROM \"syukei\" WHERE \"group\" = ?")};
}

Statement subGroupTallies(int group, int sgroup) {
    return {
        QStringLiteral("SELECT * FROM \"syukei\" WHERE \"syukei\".\"group\" = ?"
                       " AND \"syukei\".\"sgroup\" = ?;"),
        {group, sgroup},
        Source::syukei,
        QStringLiteral("SELECT count(*) FROM \"syukei\" WHERE \"group\" = ? AND \"sgroup\" = ?")};
}

// Ordered by the view's own key: SQLite does not accept "word"."key" over select_word.
Statement levelWordsAfter(int level, int lastKey) {
    return {QStringLiteral("SELECT * FROM \"select_word\" WHERE \"select_word\".\"level\" = ?"
                           " AND \"select_word\".\"key\" > ? ORDER BY \"select_word\".\"key\";"),
            {level, lastKey},
            Source::selectWord,
            // The rows of select_word counted from the marked sub-groups and one index alone.
            QStringLiteral("SELECT count(*) FROM \"subgroup\" s CROSS JOIN \"word\" w"
                           " ON w.\"group\" = s.\"group\" AND w.\"sgroup\" = s.\"sgroup\""
                           " WHERE s.\"select\" = 1 AND w.\"level\" = ? AND w.\"key\" > ?")};
}

Statement levelWordsBetween(int level, int afterKey, int lastKey) {
    return {QStringLiteral("SELECT * FROM \"select_word\" WHERE \"select_word\".\"level\" = ?"
                           " AND \"select_word\".\"key\" > ? AND \"select_word\".\"key\" <= ?"
                           " ORDER BY \"select_word\".\"key\";"),
            {level, afterKey, lastKey},
            Source::selectWord,
            QStringLiteral("SELECT count(*) FROM \"subgroup\" s CROSS JOIN \"word\" w"
                           " ON w.\"group\" = s.\"group\" AND w.\"sgroup\" = s.\"sgroup\""
                           " WHERE s.\"select\" = 1 AND w.\"level\" = ? AND w.\"key\" > ?"
                           " AND w.\"key\" <= ?")};
}

Statement markedLevelTallies() {
    return {QStringLiteral("SELECT * FROM \"syukei2\" ORDER BY \"syukei2\".\"level\""),
            {},
            Source::syukei2,
            QStringLiteral("SELECT count(*) FROM \"syukei2\"")};
}

} // namespace Statements
