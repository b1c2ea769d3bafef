#pragma once

#include "statement.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <memory>
#include <optional>

class ResultRows;

// A form's data source (Data1, Data2): a database path, a record source (a stored name or a
// Statement) and a cursor over the result.
//
//   DataSource data;
//   data.setDatabaseName(dataFilePath);
//   data.setRecordSource(Statements::levelWordsAfter(level, lastKey));
//   data.Refresh();
//   while (!data.Eof()) { int key = data.field(QStringLiteral("key")).toInt(); ...;
//   data.MoveNext(); }
//
// A result is the rows as they were at Refresh(), plus what this data source wrote to them:
// rows are read from the engine as the cursor reaches them, and anything written on the file
// first reads every open result to its end. Copies of a data source share its result.
// Every failure throws DataError. The end / begin tests are named Eof() / Bof() because EOF is
// a macro of the C library.
class DataSource {
  public:
    void setDatabaseName(const QString& path);
    QString databaseName() const { return path_; }

    // A stored record source by name: tittle, selected, ordered, syukei, syukei2, select_word.
    void setRecordSource(const QString& name);
    void setRecordSource(const Statement& statement);

    // Opens the result anew; the cursor stands on the first row, or at the end when empty.
    // Opens (and checks) the file on first use of its path.
    void Refresh();

    // True when the cursor is past the last row (always true for an empty result).
    bool Eof() const;
    // True when the cursor is before the first row (always true for an empty result).
    bool Bof() const;
    // Moves to the next row; at the end it stays at the end.
    void MoveNext();
    // Moves to the previous row (from past the end: to the last row); at the beginning it
    // stays at the beginning.
    void MovePrevious();
    // The number of rows of the result (without reading them).
    int RecordCount() const;

    // The field of the current row by name (case-insensitive); a Null reads as QVariant().
    // During an edit, a field assigned reads as assigned. Throws at BOF / EOF or for a name
    // the record source lacks.
    QVariant field(const QString& name) const;
    QStringList fieldNames() const;

    // Moves to the first row meeting "field = integer" ("group = 3", "key = 1042").
    // With no match NoMatch() is true and the cursor is put past the end, so that an Edit()
    // that ignores NoMatch() throws instead of changing some other row.
    void FindFirst(const QString& criterion);
    bool NoMatch() const { return noMatch_; }

    // Begins an edit of the current row (record sources selected and select_word only).
    void Edit();
    // Assigns a field of the row being edited: "select" of selected, "level" / "times" of
    // select_word. A refused assignment ends the edit.
    void setField(const QString& name, const QVariant& value);
    // Writes the edited row through its record source and commits it before returning
    // (unless inside WordDataFile::inTransaction). The cursor stays on the row and the
    // result keeps it with its new values until the next Refresh(), so a caller walking with
    // MoveNext() goes on where it was. On failure the row and the file stay unchanged.
    void Update();
    // Drops an edit without writing.
    void CancelUpdate();
    bool isEditing() const { return editing_; }

    // Assigns the same values to every row of the result and writes them in one
    // transaction: all rows or, on failure, none. The main menu clears every mark with
    // {{"select", false}} on selected, and resets levels with {{"level", 0}, {"times", 0}}
    // on select_word. The cursor does not move.
    void updateAll(const QVariantMap& values);

  private:
    void clearResult();
    bool isEmpty() const;
    void requireCurrentRow(const QString& what) const;
    int fieldIndex(const QString& name) const;
    int writableColumn(const QString& name) const;
    QString connectionName() const;
    void writeRows(const QList<int>& rows, const QHash<int, QVariant>& values);
    void writeRowsNow(const QList<int>& rows, const QHash<int, QVariant>& values);

    QString path_;
    std::optional<Statement> source_;
    QString resultSource_;               // the record source of the open result
    std::shared_ptr<ResultRows> result_; // null before Refresh()
    QHash<QString, int> index_;          // lower-case field name -> column
    int pos_ = 0;                        // -1 = BOF; a row not in the result = EOF
    bool noMatch_ = false;
    bool editing_ = false;
    QHash<int, QVariant> pending_; // column -> value assigned during the edit
};
