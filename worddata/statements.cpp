#include "statements.h"

#include "worddataformat.h"

using namespace Qt::StringLiterals;
namespace Source = WordDataFormat::RecordSource;

namespace Statements {

Statement selectedSubGroup(int group, int sgroup) {
    return {u"SELECT * FROM \"selected\" WHERE \"selected\".\"group\" = ?"
            u" AND \"selected\".\"sgroup\" = ?;"_s,
            {group, sgroup},
            Source::selected,
            u"SELECT count(*) FROM \"selected\" WHERE \"group\" = ? AND \"sgroup\" = ?"_s};
}

Statement subGroupPage(int group, int firstSgroup) {
    return {u"SELECT * FROM \"ordered\" WHERE \"ordered\".\"group\" = ?"
            u" AND \"ordered\".\"sgroup\" >= ? ORDER BY \"ordered\".\"sgroup\";"_s,
            {group, firstSgroup},
            Source::ordered,
            u"SELECT count(*) FROM \"ordered\" WHERE \"group\" = ? AND \"sgroup\" >= ?"_s};
}

Statement groupTallies(int group) {
    return {u"SELECT * FROM \"syukei\" WHERE \"syukei\".\"group\" = ?"_s,
            {group},
            Source::syukei,
            u"SELECT count(*) FROM \"syukei\" WHERE \"group\" = ?"_s};
}

Statement subGroupTallies(int group, int sgroup) {
    return {u"SELECT * FROM \"syukei\" WHERE \"syukei\".\"group\" = ?"
            u" AND \"syukei\".\"sgroup\" = ?;"_s,
            {group, sgroup},
            Source::syukei,
            u"SELECT count(*) FROM \"syukei\" WHERE \"group\" = ? AND \"sgroup\" = ?"_s};
}

// Ordered by the view's own key: SQLite does not accept "word"."key" over select_word.
Statement levelWordsAfter(int level, int lastKey) {
    return {u"SELECT * FROM \"select_word\" WHERE \"select_word\".\"level\" = ?"
            u" AND \"select_word\".\"key\" > ? ORDER BY \"select_word\".\"key\";"_s,
            {level, lastKey},
            Source::selectWord,
            // The rows of select_word counted from the marked sub-groups and one index alone.
            u"SELECT count(*) FROM \"subgroup\" s CROSS JOIN \"word\" w"
            u" ON w.\"group\" = s.\"group\" AND w.\"sgroup\" = s.\"sgroup\""
            u" WHERE s.\"select\" = 1 AND w.\"level\" = ? AND w.\"key\" > ?"_s};
}

Statement markedLevelTallies() {
    return {u"SELECT * FROM \"syukei2\" ORDER BY \"syukei2\".\"level\""_s,
            {},
            Source::syukei2,
            u"SELECT count(*) FROM \"syukei2\""_s};
}

} // namespace Statements
