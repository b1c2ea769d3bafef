#pragma once

#include "datasource.h"
#include "worddataformat.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <stdexcept>

// The main menu's rules without widgets: the groups with their word totals, the pages of up to
// seven sub-groups with their level counts, the paging buttons and the marks that choose what
// the practice and the slide show work on. The form renders what these return.
class GroupBrowser {
  public:
    static constexpr int RowsPerPage = 7;
    static constexpr int LevelCount = WordDataFormat::levelCount;

    struct Group {
        int group = 0; // 1..6, also its slot on the screen
        QString title;
        QString pictureName;
        int total = 0;
    };
    struct GroupText {
        QString title;
        QString description;
    };
    struct Row {
        int sgroup = 0;
        QString pictureName;
        bool marked = false;
        // Words of the sub-group at each level; nullopt where it has none.
        std::array<std::optional<int>, LevelCount> levelCounts{};
    };
    struct Page {
        QList<Row> rows;
        bool upVisible = false;
        bool downVisible = false;
        // False when a sub-group lacked its mark row: the page stops there and the paging
        // buttons are left as they were.
        bool complete = true;
    };
    // A write that the file refused (read-only, gone); nothing of it reached the file.
    struct WriteRefused : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    void setDataFile(const QString& path) { dataFilePath_ = path; }

    // Every group of the file with its word total; throws DataError, also for a group number
    // outside 1..6.
    QList<Group> groups();
    // Chooses a group: clears every mark of the file, then finds the group's title and
    // description (nullopt when the file has no such group). Throws DataError / WriteRefused.
    std::optional<GroupText> chooseGroup(int group);
    // The page whose first sub-group number is at least LowerBound.
    Page showPage();

    // The paging buttons set the lower bound of the next page.
    void pageDown() {} // the page display left it on the first sub-group after the page
    void pageUp() { LowerBound = RowSgroup[0] < 8 ? 0 : RowSgroup[0] - 8; }
    void lineDown() { LowerBound = RowSgroup[0] + 1; }
    void lineUp() { LowerBound = RowSgroup[0] < 1 ? 0 : RowSgroup[0] - 1; }

    // Flips the mark of a row of the page and writes it; returns the row's new mark.
    bool toggleMark(int row);
    // Puts every word of the marked sub-groups back to level 0, count 0, in one transaction,
    // and makes the next page start at the current page's first sub-group.
    void reset();

    bool actionsVisible() const { return MarkedCount > 0; }
    int chosenGroup() const { return chosenGroup_; }

    int LowerBound = 0;
    std::array<int, RowsPerPage> RowSgroup{};
    std::array<int, RowsPerPage> RowMark{};
    int MarkedCount = 0;

  private:
    DataSource& open(DataSource& data, const Statement& statement);
    DataSource& open(DataSource& data, const QString& recordSource);
    std::array<std::optional<int>, LevelCount> levelCounts(int sgroup);

    QString dataFilePath_;
    int chosenGroup_ = 0;
    DataSource Data1;
    DataSource Data2;
};
