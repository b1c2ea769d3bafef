#pragma once

#include <QString>

// The benchmark's deck: 6 groups x 50 sub-groups, 10,000 words spread evenly over the
// sub-groups with interleaved keys; per sub-group 40 % of the words at level 0, 20 % at
// level 1 and 10 % at each of levels 2 to 5.
namespace BenchDeck {

inline constexpr int groups = 6;
inline constexpr int subGroupsPerGroup = 50;
inline constexpr int words = 10000;

void write(const QString& path);

// The template of a benchmark's temporary folder: NAME-XXXXXX in the current folder, or in
// the folder that PIMLOTAN_BENCH_DIR names.
QString workFolderTemplate(const QString& name);

// Marks exactly the first count sub-groups in (group, sgroup) order, through a private
// connection (as another form would have left them).
void markFirstSubGroups(const QString& path, int count);

// Adds rows of grading history spread evenly over the last days (random words and levels,
// the same each run), as a year of practice leaves about 200,000.
void addHistory(const QString& path, int rows, int days);

} // namespace BenchDeck
