#include "groupbrowser.h"

#include "dataerror.h"
#include "statements.h"
#include "worddatafile.h"

namespace {
QString text(const DataSource& data, const char* field) {
    return data.field(QString::fromLatin1(field)).toString();
}

int number(const DataSource& data, const char* field) {
    return data.field(QString::fromLatin1(field)).toInt();
}

// Runs a write; a refusal by the file becomes WriteRefused, with nothing written.
template <typename Write> void write(Write&& work) {
    try {
        work();
    } catch (const DataError& error) {
        // The engine refused it (read-only file, full disk) or the file is gone.
        if (error.reason() == DataError::Reason::Engine ||
            error.reason() == DataError::Reason::Busy ||
            error.reason() == DataError::Reason::FileMissing)
            throw GroupBrowser::WriteRefused(error.what());
        throw;
    }
}
} // namespace

DataSource& GroupBrowser::open(DataSource& data, const Statement& statement) {
    data.setDatabaseName(dataFilePath_);
    data.setRecordSource(statement);
    data.Refresh();
    return data;
}

DataSource& GroupBrowser::open(DataSource& data, const QString& recordSource) {
    data.setDatabaseName(dataFilePath_);
    data.setRecordSource(recordSource);
    data.Refresh();
    return data;
}

QList<GroupBrowser::Group> GroupBrowser::groups() {
    QList<Group> result;
    for (open(Data1, QStringLiteral("tittle")); !Data1.Eof(); Data1.MoveNext()) {
        Group group;
        group.group = number(Data1, "group");
        if (group.group < 1 || group.group > 6)
            throw DataError(
                DataError::Reason::NotWordData,
                QStringLiteral("group number %1 is not between 1 and 6").arg(group.group));
        group.title = text(Data1, "tittle");
        group.pictureName = text(Data1, "ttlimage");
        for (open(Data2, Statements::groupTallies(group.group)); !Data2.Eof(); Data2.MoveNext())
            group.total += number(Data2, "count");
        result << group;
    }
    return result;
}

std::optional<GroupBrowser::GroupText> GroupBrowser::chooseGroup(int group) {
    chosenGroup_ = group;
    write([this] {
        open(Data1, QStringLiteral("selected"));
        Data1.updateAll({{QStringLiteral("select"), false}});
    });
    MarkedCount = 0;

    open(Data1, QStringLiteral("tittle"));
    Data1.FindFirst(QStringLiteral("group = ") + QString::number(group));
    if (Data1.NoMatch())
        return std::nullopt;
    LowerBound = 0;
    return GroupText{text(Data1, "tittle"), text(Data1, "setmei")};
}

std::array<std::optional<int>, GroupBrowser::LevelCount> GroupBrowser::levelCounts(int sgroup) {
    std::array<std::optional<int>, LevelCount> counts{};
    for (open(Data2, Statements::subGroupTallies(chosenGroup_, sgroup)); !Data2.Eof();
         Data2.MoveNext()) {
        const int level = number(Data2, "level");
        if (level >= 0 && level < LevelCount)
            counts[static_cast<size_t>(level)] = number(Data2, "count");
    }
    return counts;
}

GroupBrowser::Page GroupBrowser::showPage() {
    Page page;
    open(Data1, Statements::subGroupPage(chosenGroup_, LowerBound));
    for (int r = 0; r < RowsPerPage && !Data1.Eof(); ++r) {
        Row row;
        row.sgroup = number(Data1, "sgroup");
        row.pictureName = text(Data1, "images");
        LowerBound = row.sgroup;
        RowSgroup[static_cast<size_t>(r)] = row.sgroup;

        open(Data2, Statements::selectedSubGroup(chosenGroup_, row.sgroup));
        if (Data2.Eof()) {
            page.complete = false;
            return page;
        }
        row.marked = Data2.field(QStringLiteral("select")).toBool();
        if (row.marked) {
            RowMark[static_cast<size_t>(r)] = 1;
            if (MarkedCount <= 0)
                MarkedCount += 1;
        } else {
            RowMark[static_cast<size_t>(r)] = 0;
        }
        row.levelCounts = levelCounts(row.sgroup);
        page.rows << row;
        Data1.MoveNext();
    }
    page.upVisible = !page.rows.isEmpty() && RowSgroup[0] > 1;
    if (!Data1.Eof()) {
        LowerBound = number(Data1, "sgroup");
        page.downVisible = true;
    }
    return page;
}

bool GroupBrowser::toggleMark(int row) {
    const auto r = static_cast<size_t>(row);
    const bool mark = RowMark.at(r) != 1;
    write([this, mark, r] {
        open(Data1, Statements::selectedSubGroup(chosenGroup_, RowSgroup.at(r)));
        Data1.Edit();
        Data1.setField(QStringLiteral("select"), mark);
        Data1.Update();
    });
    RowMark[r] = mark ? 1 : 0;
    MarkedCount += mark ? 1 : -1;
    return mark;
}

void GroupBrowser::reset() {
    write([this] {
        open(Data1, QStringLiteral("select_word"));
        Data1.updateAll({{QStringLiteral("level"), 0}, {QStringLiteral("times"), 0}});
    });
    LowerBound = RowSgroup[0];
}
