#include "datasource.h"

#include "dataerror.h"
#include "enginequery.h"
#include "resultrows.h"
#include "worddatafile.h"
#include "worddataformat.h"

#include <QRegularExpression>
#include <algorithm>

using Reason = DataError::Reason;

namespace {

// What is kept of a written value: the engine stores marks as 0 / 1 and numbers as 64-bit.
QVariant storedForm(const QVariant& value) {
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Bool)
        return QVariant(qlonglong(value.toBool() ? 1 : 0));
    bool isNumber = false;
    const qlonglong number = value.toLongLong(&isNumber);
    return isNumber && value.typeId() != QMetaType::QString ? QVariant(number) : value;
}

} // namespace

void DataSource::setDatabaseName(const QString& path) {
    path_ = path;
    clearResult();
}

void DataSource::setRecordSource(const QString& name) {
    const QList<WordDataFormat::SourceFields>& known = WordDataFormat::recordSources();
    const bool isKnown = std::any_of(known.begin(), known.end(),
                                     [&](const auto& source) { return source.source == name; });
    if (!isKnown)
        throw DataError(Reason::Misuse, QStringLiteral("unknown record source %1").arg(name));
    setRecordSource(Statement{QStringLiteral("SELECT * FROM ") + quoted(name),
                              {},
                              name,
                              QStringLiteral("SELECT count(*) FROM ") + quoted(name)});
}

void DataSource::setRecordSource(const Statement& statement) {
    source_ = statement;
    clearResult();
}

void DataSource::clearResult() {
    result_.reset();
    index_.clear();
    resultSource_.clear();
    pos_ = 0;
    noMatch_ = false;
    CancelUpdate();
}

QString DataSource::connectionName() const {
    return WordDataFile::connection(path_).connectionName();
}

void DataSource::Refresh() {
    if (!source_)
        throw DataError(Reason::Misuse, QStringLiteral("no record source is set"));
    clearResult();
    result_ = ResultRows::open(connectionName(), *source_);
    for (int i = 0; i < result_->names().size(); ++i)
        index_.insert(result_->names()[i].toLower(), i);
    resultSource_ = source_->source;
}

QStringList DataSource::fieldNames() const {
    return result_ ? result_->names() : QStringList();
}

bool DataSource::isEmpty() const {
    return !result_ || !result_->has(0);
}

bool DataSource::Eof() const {
    return isEmpty() || (pos_ >= 0 && !result_->has(pos_));
}

bool DataSource::Bof() const {
    return isEmpty() || pos_ < 0;
}

void DataSource::MoveNext() {
    CancelUpdate();
    if (!Eof())
        ++pos_;
}

void DataSource::MovePrevious() {
    CancelUpdate();
    if (pos_ >= 0) // from past the end every row has been read, so pos_ - 1 is the last
        --pos_;
}

int DataSource::RecordCount() const {
    return result_ ? result_->count() : 0;
}

void DataSource::requireCurrentRow(const QString& what) const {
    if (Eof() || Bof())
        throw DataError(Reason::NoCurrentRow,
                        QStringLiteral("%1: no current row in %2").arg(what, resultSource_));
}

int DataSource::fieldIndex(const QString& name) const {
    const auto it = index_.constFind(name.toLower());
    if (it == index_.constEnd())
        throw DataError(
            Reason::Misuse,
            QStringLiteral("record source %1 has no field %2").arg(resultSource_, name));
    return *it;
}

QVariant DataSource::field(const QString& name) const {
    requireCurrentRow(name);
    const int column = fieldIndex(name);
    if (editing_)
        if (const auto it = pending_.constFind(column); it != pending_.constEnd())
            return *it;
    const QVariant& value = result_->cell(pos_, column);
    return value.isNull() ? QVariant() : value; // a Null reads as an empty variant
}

void DataSource::FindFirst(const QString& criterion) {
    static const QRegularExpression form(QStringLiteral("^\\s*(\\w+)\\s*=\\s*(-?\\d+)\\s*$"));
    const QRegularExpressionMatch match = form.match(criterion);
    bool isNumber = false;
    const qlonglong wanted = match.hasMatch() ? match.captured(2).toLongLong(&isNumber) : 0;
    if (!isNumber)
        throw DataError(Reason::Misuse,
                        QStringLiteral("unsupported criterion \"%1\"").arg(criterion));
    const int column = fieldIndex(match.captured(1));
    CancelUpdate();
    pos_ = 0;
    for (; result_ && result_->has(pos_); ++pos_) {
        const QVariant& value = result_->cell(pos_, column);
        bool ok = false;
        if (!value.isNull() && value.toLongLong(&ok) == wanted && ok)
            break;
    }
    noMatch_ = Eof(); // past the end with no match
}

void DataSource::Edit() {
    requireCurrentRow(QStringLiteral("Edit"));
    if (!WordDataFormat::updatableSource(resultSource_))
        throw DataError(Reason::Misuse,
                        QStringLiteral("rows of %1 cannot be written").arg(resultSource_));
    pending_.clear();
    editing_ = true;
}

int DataSource::writableColumn(const QString& name) const {
    const WordDataFormat::UpdatableSource* updatable =
        WordDataFormat::updatableSource(resultSource_);
    const int column = fieldIndex(name);
    if (!updatable || !updatable->writable.contains(result_->names()[column], Qt::CaseInsensitive))
        throw DataError(
            Reason::Misuse,
            QStringLiteral("field %1 of %2 cannot be written").arg(name, resultSource_));
    return column;
}

void DataSource::setField(const QString& name, const QVariant& value) {
    if (!editing_)
        throw DataError(Reason::Misuse, QStringLiteral("%1 assigned outside an edit").arg(name));
    try {
        pending_.insert(writableColumn(name), storedForm(value));
    } catch (const DataError&) {
        CancelUpdate(); // a refused assignment leaves no half edit to write later
        throw;
    }
}

void DataSource::Update() {
    if (!editing_)
        throw DataError(Reason::Misuse,
                        QStringLiteral("Update without Edit in %1").arg(resultSource_));
    const QHash<int, QVariant> values = pending_;
    CancelUpdate(); // a failed write leaves no half edit behind
    requireCurrentRow(QStringLiteral("Update"));
    if (values.isEmpty())
        return;
    writeRows({pos_}, values);
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        result_->cell(pos_, it.key()) = it.value();
}

void DataSource::CancelUpdate() {
    if (editing_) {
        editing_ = false;
        pending_.clear();
    }
}

void DataSource::updateAll(const QVariantMap& assignments) {
    CancelUpdate();
    if (!WordDataFormat::updatableSource(resultSource_))
        throw DataError(Reason::Misuse,
                        QStringLiteral("rows of %1 cannot be written").arg(resultSource_));
    QHash<int, QVariant> values;
    for (auto it = assignments.constBegin(); it != assignments.constEnd(); ++it)
        values.insert(writableColumn(it.key()), storedForm(it.value()));
    if (isEmpty() || values.isEmpty())
        return;
    result_->finish();
    // Rows that already hold the values need no write while the result is what the file
    // holds: clearing the marks of a group with none set then writes nothing at all.
    const bool current = result_->isCurrent();
    QList<int> rows;
    for (int row = 0; row < result_->loaded(); ++row) {
        const bool same = std::all_of(values.keyBegin(), values.keyEnd(), [&](int column) {
            return result_->cell(row, column) == values[column];
        });
        if (!current || !same)
            rows.append(row);
    }
    if (rows.isEmpty())
        return;
    WordDataFile::inTransaction(path_, [&] { writeRows(rows, values); });
    for (int row = 0; row < result_->loaded(); ++row)
        for (auto it = values.constBegin(); it != values.constEnd(); ++it)
            result_->cell(row, it.key()) = it.value();
}

// One UPDATE per row through the record source's view (its trigger writes the base table),
// the row named by its identity fields as read. Every row must still be in the view.
void DataSource::writeRows(const QList<int>& rows, const QHash<int, QVariant>& values) {
    // A grading (or a reset) on a deck without the history adds it first, in one transaction
    // with the grading itself: both are on disk, or neither.
    bool grading = false;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        grading = grading || result_->names()[it.key()] == u"level" ||
                  result_->names()[it.key()] == u"times";
    if (grading && !WordDataFile::knowsHistory(path_)) {
        const QSqlDatabase db = WordDataFile::connection(path_);
        if (!WordDataFormat::hasHistory(db)) {
            // Not noted as known yet: an outer transaction may still roll the table back.
            WordDataFile::inTransaction(path_, [&] {
                WordDataFormat::ensureHistory(db);
                writeRowsNow(rows, values);
            });
            return;
        }
        WordDataFile::noteHistory(path_);
    }
    writeRowsNow(rows, values);
}

void DataSource::writeRowsNow(const QList<int>& rows, const QHash<int, QVariant>& values) {
    const WordDataFormat::UpdatableSource* updatable =
        WordDataFormat::updatableSource(resultSource_);
    QList<int> columns = values.keys();
    std::sort(columns.begin(), columns.end());
    QStringList sets;
    for (int column : columns)
        sets.append(quoted(result_->names()[column]) + QStringLiteral(" = ?"));
    QList<int> identity;
    QStringList where;
    for (const QString& name : updatable->identity) {
        identity.append(fieldIndex(name));
        where.append(quoted(name) + QStringLiteral(" = ?"));
    }
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                            .arg(quoted(resultSource_), sets.join(QStringLiteral(", ")),
                                 where.join(QStringLiteral(" AND ")));
    const QSqlDatabase db = WordDataFile::connection(path_);
    // No statement may stay open beside a write: its commit would wait for it.
    ResultRows::finishAll(db.connectionName());
    QSqlQuery query(db);
    if (!query.prepare(sql))
        throw engineError(query, sql);
    // The view's trigger changes stored rows only for a row still in the view; the change
    // count of the connection (which counts what triggers change) tells, row by row.
    const QString countSql = QStringLiteral("SELECT total_changes()");
    QSqlQuery changes(db);
    changes.setForwardOnly(true);
    if (!changes.prepare(countSql))
        throw engineError(changes, countSql);
    const auto totalChanges = [&] {
        if (!changes.exec() || !changes.next())
            throw engineError(changes, countSql);
        const qlonglong total = changes.value(0).toLongLong();
        changes.finish();
        return total;
    };
    qlonglong before = totalChanges();
    bool allFound = true;
    for (int row : rows) {
        for (int column : columns)
            query.addBindValue(values[column]);
        for (int column : identity)
            query.addBindValue(result_->cell(row, column));
        if (!query.exec())
            throw engineError(query, sql);
        const qlonglong after = totalChanges();
        allFound = allFound && after > before;
        before = after;
    }
    query.finish();
    changes.finish();
    ResultRows::noteWrite(db.connectionName());
    WordDataFile::noteWritten(path_);
    if (!allFound)
        throw DataError(Reason::NoCurrentRow,
                        QStringLiteral("a row to write is no longer in %1").arg(resultSource_));
}
