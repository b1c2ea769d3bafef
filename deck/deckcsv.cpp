#include "deckcsv.h"

#include "csv.h"
#include "deckvalidator.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>

namespace DeckCsv {

namespace {

// A whole number, optionally signed; anything else (1.5, 1e3, 12abc) is not a number here.
std::optional<qint64> parseInteger(const QString& text) {
    static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+$"));
    if (!integer.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

template <typename Record> class TableReader {
  public:
    TableReader(const QString& path, std::span<const DeckField<Record>> fields,
                DeckProblems& problems)
        : path_(path)
        , fields_(fields)
        , problems_(problems) {}

    QList<Record> read() {
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly)) {
            report(0, QStringLiteral("cannot be read: %1").arg(file.errorString()));
            return {};
        }
        const Csv::Table table = Csv::parse(file.readAll());
        for (const Csv::Error& error : table.errors)
            report(error.line, error.message);
        if (table.records.isEmpty()) {
            if (table.errors.isEmpty())
                report(0, QStringLiteral("has no header row"));
            return {};
        }
        if (!readHeader(table.records.front()))
            return {};
        QList<Record> rows;
        for (qsizetype i = 1; i < table.records.size(); ++i)
            if (auto row = readRow(table.records.at(i)))
                rows << *row;
        return rows;
    }

  private:
    void report(int line, const QString& message) {
        problems_ << DeckProblem{path_, line, message};
    }

    // Maps each field to its column; false when the rows cannot be read.
    bool readHeader(const Csv::Record& header) {
        const int before = problems_.size();
        QHash<QString, int> columns;
        for (int i = 0; i < header.fields.size(); ++i) {
            const QString name = header.fields.at(i).trimmed();
            const bool known = std::any_of(fields_.begin(), fields_.end(),
                                           [&](const auto& f) { return f.name == name; });
            if (!known)
                report(header.line, QStringLiteral("unknown column \"%1\"").arg(name));
            else if (columns.contains(name))
                report(header.line, QStringLiteral("column \"%1\" is listed twice").arg(name));
            else
                columns.insert(name, i);
        }
        for (const auto& field : fields_) {
            const int column = columns.value(field.name, -1);
            if (column < 0 && field.presence == Presence::Required)
                report(header.line, QStringLiteral("column \"%1\" is missing").arg(field.name));
            columnOf_ << column;
        }
        width_ = header.fields.size();
        return problems_.size() == before;
    }

    std::optional<Record> readRow(const Csv::Record& row) {
        if (row.fields.size() != width_) {
            report(row.line, QStringLiteral("has %1 fields where the header has %2")
                                 .arg(row.fields.size())
                                 .arg(width_));
            return std::nullopt;
        }
        Record record;
        record.line = row.line;
        bool ok = true;
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            const DeckField<Record>& field = fields_[i];
            const int column = columnOf_.at(qsizetype(i));
            const QString text = column < 0 ? QString() : row.fields.at(column).trimmed();
            if (field.kind == FieldKind::Text) {
                // An empty optional text is Null, as the CSV files cannot tell the two apart.
                field.set(record, field.presence == Presence::Optional && text.isEmpty()
                                      ? QVariant()
                                      : QVariant(text));
                continue;
            }
            if (text.isEmpty()) {
                if (field.presence == Presence::Required) {
                    report(row.line, QStringLiteral("%1 is empty").arg(field.name));
                    ok = false;
                } else {
                    field.set(record, field.presence == Presence::Defaulted
                                          ? QVariant(qint64(0))
                                          : QVariant(QMetaType::fromType<qint64>()));
                }
                continue;
            }
            if (const auto value = parseInteger(text)) {
                field.set(record, *value);
            } else {
                report(row.line,
                       QStringLiteral("%1 \"%2\" is not a whole number").arg(field.name, text));
                ok = false;
            }
        }
        return ok ? std::optional<Record>(record) : std::nullopt;
    }

    const QString path_;
    const std::span<const DeckField<Record>> fields_;
    DeckProblems& problems_;
    QList<int> columnOf_; // per field: its column in the file, -1 when the file leaves it out
    qsizetype width_ = 0;
};

template <typename Record>
QList<Record> readTable(const QString& path, std::span<const DeckField<Record>> fields,
                        DeckProblems& problems) {
    return TableReader<Record>(path, fields, problems).read();
}

template <typename Record>
QString writeTable(const QString& path, std::span<const DeckField<Record>> fields,
                   const QList<Record>& rows) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    QStringList header;
    for (const auto& field : fields)
        header << field.name;
    file.write(Csv::formatRow(header));
    for (const Record& row : rows) {
        QStringList values;
        for (const auto& field : fields) {
            const QVariant value = field.get(row);
            values << (value.isNull() ? QString() : value.toString());
        }
        file.write(Csv::formatRow(values));
    }
    if (!file.commit())
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    return {};
}

// The history's rows as the program writes them: a UTC time in one form (the periods compare
// times as text), levels 0..5. A spreadsheet that saved the file again may have changed them.
DeckProblems historyProblems(const QList<DeckHistory>& history, const QString& file) {
    static const QRegularExpression utcTime(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z$"));
    DeckProblems problems;
    for (const DeckHistory& row : history) {
        if (!utcTime.match(row.time).hasMatch() ||
            !QDateTime::fromString(row.time, Qt::ISODateWithMs).isValid())
            problems << DeckProblem(
                file, row.line,
                QStringLiteral("time \"%1\" is not a UTC time like 2026-12-10T05:10:00.000Z")
                    .arg(row.time));
        for (const qint64 level : {row.before, row.after})
            if (level < 0 || level > 5)
                problems << DeckProblem(
                    file, row.line, QStringLiteral("level %1 is not between 0 and 5").arg(level));
    }
    return problems;
}

} // namespace

ReadResult readUnchecked(const QString& folder) {
    const QDir dir(folder);
    ReadResult result;
    result.deck.groups = readTable(dir.filePath(groupsFile), DeckFields::groups(), result.problems);
    result.deck.subGroups =
        readTable(dir.filePath(subGroupsFile), DeckFields::subGroups(), result.problems);
    result.deck.words = readTable(dir.filePath(wordsFile), DeckFields::words(), result.problems);
    if (QFileInfo::exists(dir.filePath(historyFile))) {
        result.deck.history =
            readTable(dir.filePath(historyFile), DeckFields::historyCsv(), result.problems);
        nameHistory(result.deck.history, result.deck.words);
    }
    return result;
}

ReadResult read(const QString& folder) {
    ReadResult result = readUnchecked(folder);
    const QDir dir(folder);
    DeckOrigin origin{dir.filePath(groupsFile), dir.filePath(subGroupsFile),
                      dir.filePath(wordsFile)};
    const auto complete = [&](const QString& file) {
        return std::none_of(result.problems.cbegin(), result.problems.cend(),
                            [&](const DeckProblem& p) { return p.file == file; });
    };
    origin.groupsComplete = complete(origin.groupsFile);
    origin.subGroupsComplete = complete(origin.subGroupsFile);
    result.problems << validateDeck(result.deck, origin, folder);
    result.problems << historyProblems(result.deck.history, dir.filePath(historyFile));
    // One report in file order: the parse problems of a file come before the checks of its rows.
    const QStringList order{origin.groupsFile, origin.subGroupsFile, origin.wordsFile,
                            dir.filePath(historyFile)};
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [&](const DeckProblem& a, const DeckProblem& b) {
                         const auto ia = order.indexOf(a.file), ib = order.indexOf(b.file);
                         return ia != ib ? ia < ib : a.line < b.line;
                     });
    return result;
}

QString write(const Deck& deck, const QString& folder) {
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return QStringLiteral("%1: cannot create the folder").arg(folder);
    QString error = writeTable(dir.filePath(groupsFile), DeckFields::groups(), deck.groups);
    if (error.isEmpty())
        error = writeTable(dir.filePath(subGroupsFile), DeckFields::subGroups(), deck.subGroups);
    if (error.isEmpty())
        error = writeTable(dir.filePath(wordsFile), DeckFields::words(), deck.words);
    // A history.csv left from an earlier export would give this deck another deck's record.
    if (error.isEmpty() && deck.history.isEmpty() && QFile::exists(dir.filePath(historyFile)) &&
        !QFile::remove(dir.filePath(historyFile)))
        error = QStringLiteral("%1: cannot remove").arg(dir.filePath(historyFile));
    if (error.isEmpty() && !deck.history.isEmpty()) {
        QList<DeckHistory> history = deck.history;
        nameHistory(history, deck.words);
        error = writeTable(dir.filePath(historyFile), DeckFields::historyCsv(), history);
    }
    return error;
}

} // namespace DeckCsv
