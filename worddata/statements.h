#pragma once

#include "statement.h"

// The statements the screens open, with their values bound, never pasted into the SQL text.
// Each keeps the selection, order and values the screens rely on; identifiers are quoted.
namespace Statements {

// S1: the one "selected" row of a sub-group, to read or change its mark "select".
Statement selectedSubGroup(int group, int sgroup);

// S2: the sub-groups of a group from sub-group number firstSgroup on, ascending "sgroup"
// ("ordered": group, sgroup, images). The main menu takes up to seven rows as a page.
Statement subGroupPage(int group, int firstSgroup);

// S3: every (sub-group, level) count of a group ("syukei": group, sgroup, level, count);
// the counts add up to the group's number of words.
Statement groupTallies(int group);

// S4: the level counts of one sub-group ("syukei").
Statement subGroupTallies(int group, int sgroup);

// S5: the words of the marked sub-groups at a level with a key above lastKey, ascending
// "key" ("select_word"; level and times can be written back).
Statement levelWordsAfter(int level, int lastKey);

// The words of the batch read by S5 (keys after afterKey up to lastKey), re-read for each
// grading: a handful of rows, so that the write need not first read the rest of the level.
Statement levelWordsBetween(int level, int afterKey, int lastKey);

// S6: the level counts of the words of the marked sub-groups ("syukei2": level, count),
// ascending level; a level may come in several rows, whose counts add up.
Statement markedLevelTallies();

} // namespace Statements
