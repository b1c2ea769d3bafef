#include "jetfile.h"

#include "legacyerror.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <clocale>
#include <cmath>
#include <cstring>
#include <iconv.h>
#include <locale.h>
#include <mutex>
#include <optional>
#include <vector>

// mdbtools.h opens extern "C" before it includes glib, which does not compile in C++ unless
// glib came first.
#include <glib.h>
#include <mdbtools.h>

namespace {

constexpr qint64 pageSize = 4096;
// Every value arrives as text in a buffer of this size; a memo is cut at it without a word,
// so it is far above any text of a word deck, and a value that fills it is refused.
constexpr std::size_t bindSize = 1 << 20;
constexpr int offsetMask = 0x1fff;
constexpr int maxColumns = 256;

// Numbers and dates are printed in the thread's locale; the program runs under the user's.
class CLocaleScope {
  public:
    CLocaleScope()
        : c_(newlocale(LC_ALL_MASK, "C", locale_t(nullptr)))
        , old_(uselocale(c_)) {}
    ~CLocaleScope() {
        uselocale(old_);
        freelocale(c_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

  private:
    locale_t c_;
    locale_t old_;
};

// The library reads MDBOPTS once per process, at its first question about an option; it is
// asked here with the variable unset, so that debug dumps or "no_memo" never reach an import.
void latchLibraryOptions() {
    static std::once_flag once;
    std::call_once(once, [] {
        const bool had = qEnvironmentVariableIsSet("MDBOPTS");
        const QByteArray saved = qgetenv("MDBOPTS");
        qunsetenv("MDBOPTS");
        mdb_get_option(MDB_DEBUG_ROW);
        if (had)
            qputenv("MDBOPTS", saved);
    });
}

// The library converts from UCS-2 (so characters outside the BMP come out as "??") into the
// charset named by MDBICONV; UTF-16 into UTF-8 is what the import needs, always.
void useUtf16(MdbHandle* mdb) {
    if (mdb->iconv_in != iconv_t(-1))
        iconv_close(mdb->iconv_in);
    if (mdb->iconv_out != iconv_t(-1))
        iconv_close(mdb->iconv_out);
    mdb->iconv_in = iconv_open("UTF-8", "UTF-16LE");
    mdb->iconv_out = iconv_open("UTF-16LE", "UTF-8");
}

struct TableDeleter {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using TablePtr = std::unique_ptr<MdbTableDef, TableDeleter>;

QVariant typedValue(int type, const char* text, int length) {
    const QByteArray bytes(text, length);
    switch (type) {
    case MDB_BOOL:
        return QVariant(bytes.toInt() != 0);
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return QVariant(bytes.toLongLong());
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_MONEY:
    case MDB_NUMERIC:
        return QVariant(bytes.toDouble());
    default:
        return QVariant(QString::fromUtf8(bytes));
    }
}

// The header's 128 bytes from 0x18 are scrambled with RC4 under a fixed key.
void unscramble(QByteArray& header) {
    const unsigned char key[4] = {0xc7, 0xda, 0x39, 0x6b};
    unsigned char s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, x = 0, y = 0; n < 128; ++n) {
        x = (x + 1) & 0xff;
        y = (y + s[x]) & 0xff;
        std::swap(s[x], s[y]);
        header[0x18 + n] =
            char(static_cast<unsigned char>(header[0x18 + n]) ^ s[(s[x] + s[y]) & 0xff]);
    }
}

// A Jet 4 database password: 40 bytes at 0x42, masked with the low 32 bits of the creation date
// (a double at 0x72). The library opens such a file without asking, so the import must.
bool hasPassword(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray header = file.read(0x98);
    if (header.size() < 0x98 || header[0x14] != 1)
        return false;
    unscramble(header);
    double created = 0;
    std::memcpy(&created, header.constData() + 0x72, sizeof created);
    const quint32 mask =
        std::isfinite(created) && std::abs(created) < 2e9 ? quint32(qint32(created)) : 0;
    for (int i = 0; i < 40; ++i)
        if ((static_cast<unsigned char>(header[0x42 + i]) ^ ((mask >> (8 * (i % 4))) & 0xff)) != 0)
            return true;
    return false;
}

} // namespace

struct JetFile::Handle {
    QString path;
    MdbHandle* mdb = nullptr;
    QHash<QString, MdbCatalogEntry*> entries; // by name in lower case
    QStringList tables;
    QStringList queries;
    mutable std::optional<JetTable> queryRows;
    ~Handle() {
        if (mdb)
            mdb_close(mdb);
    }
};

int JetTable::column(const QString& name) const {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool JetFile::hasJetHeader(const QString& path) {
    // Opening a named pipe or a device for reading would wait for ever.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(0x15);
    return head.size() == 0x15 && head.mid(4, 16) == QByteArray("Standard Jet DB", 16) &&
           (head[0x14] == 0 || head[0x14] == 1);
}

JetFile::JetFile(const QString& path)
    : handle_(std::make_unique<Handle>()) {
    using Reason = LegacyError::Reason;
    handle_->path = path;
    if (!QFileInfo(path).isFile())
        throw LegacyError(Reason::NotJetFile, QStringLiteral("%1: no such file").arg(path));
    if (!hasJetHeader(path))
        throw LegacyError(Reason::NotJetFile,
                          QStringLiteral("%1: not an Access 2000-format file").arg(path));
    const qint64 size = QFileInfo(path).size();
    if (size % pageSize != 0 || size < 3 * pageSize)
        throw LegacyError(Reason::Damaged, QStringLiteral("%1: the file is cut short").arg(path));
    if (hasPassword(path))
        throw LegacyError(Reason::Protected,
                          QStringLiteral("%1: the file is password-protected").arg(path));
    latchLibraryOptions();
    const CLocaleScope c;
    handle_->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    MdbHandle* mdb = handle_->mdb;
    if (!mdb)
        throw LegacyError(Reason::Damaged, QStringLiteral("%1: the file cannot be read").arg(path));
    if (mdb->f->db_key != 0)
        throw LegacyError(
            Reason::Protected,
            QStringLiteral("%1: the file is encrypted or password-protected").arg(path));
    useUtf16(mdb);
    mdb_set_bind_size(mdb, bindSize);
    mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
    mdb_set_boolean_fmt_numbers(mdb);
    if (!mdb_read_catalog(mdb, MDB_ANY))
        throw LegacyError(Reason::Damaged,
                          QStringLiteral("%1: the list of tables cannot be read").arg(path));
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        const QString name = QString::fromUtf8(entry->object_name);
        handle_->entries.insert(name.toLower(), entry);
        if (mdb_is_user_table(entry))
            handle_->tables << name;
        else if (entry->object_type == MDB_QUERY && !name.startsWith(u'~'))
            handle_->queries << name;
    }
}

JetFile::~JetFile() = default;

QStringList JetFile::tables() const {
    return handle_->tables;
}

QStringList JetFile::queries() const {
    return handle_->queries;
}

QString JetFile::tableNamed(const QString& name) const {
    for (const QString& table : handle_->tables)
        if (table.compare(name, Qt::CaseInsensitive) == 0)
            return table;
    return {};
}

QString JetFile::queryNamed(const QString& name) const {
    for (const QString& query : handle_->queries)
        if (query.compare(name, Qt::CaseInsensitive) == 0)
            return query;
    return {};
}

JetTable JetFile::readTable(const QString& name) const {
    if (tableNamed(name).isEmpty())
        throw LegacyError(LegacyError::Reason::NotWordData,
                          QStringLiteral("%1: no table %2").arg(handle_->path, name));
    return readAnyTable(name);
}

JetTable JetFile::readAnyTable(const QString& name) const {
    using Reason = LegacyError::Reason;
    const auto damaged = [&](const QString& what) {
        return LegacyError(Reason::Damaged,
                           QStringLiteral("%1: table %2: %3").arg(handle_->path, name, what));
    };
    MdbCatalogEntry* entry = handle_->entries.value(name.toLower());
    if (!entry)
        throw damaged(QStringLiteral("missing"));
    const CLocaleScope c;
    MdbHandle* mdb = handle_->mdb;
    const TablePtr table(mdb_read_table(entry));
    if (!table)
        throw damaged(QStringLiteral("its definition cannot be read"));
    if (!mdb_read_columns(table.get()) || table->num_cols > unsigned(maxColumns))
        throw damaged(QStringLiteral("its columns cannot be read"));
    JetTable result;
    result.name = QString::fromUtf8(entry->object_name);
    const int count = int(table->num_cols);
    const std::size_t columnCount = std::size_t(count);
    std::vector<std::vector<char>> buffers(columnCount, std::vector<char>(bindSize));
    std::vector<int> lengths(std::size_t(count), 0);
    std::vector<int> types(std::size_t(count), 0);
    for (int i = 0; i < count; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        result.columns << QString::fromUtf8(column->name);
        types[std::size_t(i)] = column->col_type;
        mdb_bind_column(table.get(), i + 1, buffers[std::size_t(i)].data(),
                        &lengths[std::size_t(i)]);
    }
    mdb_rewind_table(table.get());
    MdbField fields[maxColumns];
    while (mdb_fetch_row(table.get())) {
        // A bound Null and a bound empty text look alike; the row's null mask tells them apart.
        int start = 0;
        std::size_t size = 0;
        if (mdb_find_row(mdb, int(table->cur_row) - 1, &start, &size) != 0)
            throw damaged(QStringLiteral("a row cannot be found"));
        if (mdb_crack_row(table.get(), start & offsetMask, size, fields) < 0)
            throw damaged(QStringLiteral("a row cannot be read"));
        QVariantList row;
        for (int i = 0; i < count; ++i) {
            const auto at = std::size_t(i);
            if (std::size_t(lengths[at]) + 4 >= bindSize)
                throw damaged(QStringLiteral("a value in %1 is too long").arg(result.columns[i]));
            if (fields[i].is_null && types[at] != MDB_BOOL)
                row << QVariant();
            else
                row << typedValue(types[at], buffers[at].data(), lengths[at]);
        }
        result.rows << row;
    }
    if (result.rows.size() != qsizetype(table->num_rows))
        throw damaged(QStringLiteral("%1 of %2 rows can be read")
                          .arg(result.rows.size())
                          .arg(table->num_rows));
    return result;
}

JetQuery JetFile::readQuery(const QString& name) const {
    const QString found = queryNamed(name);
    MdbCatalogEntry* entry = handle_->entries.value(found.toLower());
    if (!entry)
        throw LegacyError(LegacyError::Reason::NotWordData,
                          QStringLiteral("%1: no saved query %2").arg(handle_->path, name));
    if (!handle_->queryRows)
        handle_->queryRows = readAnyTable(QStringLiteral("MSysQueries"));
    const JetTable& rows = *handle_->queryRows;
    const int objectId = rows.column(QStringLiteral("ObjectId"));
    const int attribute = rows.column(QStringLiteral("Attribute"));
    const int flag = rows.column(QStringLiteral("Flag"));
    const int name1 = rows.column(QStringLiteral("Name1"));
    const int name2 = rows.column(QStringLiteral("Name2"));
    const int expression = rows.column(QStringLiteral("Expression"));
    if (objectId < 0 || attribute < 0 || flag < 0 || name1 < 0 || name2 < 0 || expression < 0)
        throw LegacyError(
            LegacyError::Reason::Damaged,
            QStringLiteral("%1: the table of saved queries lacks a column").arg(handle_->path));
    JetQuery query{found, {}};
    // The catalog keeps the low 24 bits of an object's id.
    const qint64 id = qint64(entry->table_pg);
    for (const QVariantList& row : rows.rows) {
        if ((row[objectId].toLongLong() & 0xffffff) != id)
            continue;
        query.parts << JetQueryPart{row[attribute].toInt(), row[flag].toInt(),
                                    row[name1].toString(), row[name2].toString(),
                                    row[expression].toString()};
    }
    return query;
}
