#include "jetwriter.h"

#include <QFile>
#include <QSaveFile>
#include <array>
#include <cstring>

namespace {

constexpr int pageSize = 4096;
constexpr int dataHeader = 14; // type, free space, owner, 4 unknown bytes, row count
constexpr int tdefColumnsStart = 63;
constexpr int columnEntrySize = 25;
constexpr int usageMapPage = 1;
constexpr int catalogPage = 2;
// Memo texts up to this many bytes stay in the row; longer ones go to long-value pages.
constexpr int inlineMemo = 64;
constexpr int lvalPiece = pageSize - dataHeader - 2 - 4 - 8;

using Page = QByteArray;

void put16(QByteArray& b, int at, quint32 v) {
    b[at] = char(v & 0xff);
    b[at + 1] = char((v >> 8) & 0xff);
}
void put32(QByteArray& b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xff);
}
void append16(QByteArray& b, quint32 v) {
    b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}
void append32(QByteArray& b, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
}

void rc4(const std::array<unsigned char, 4>& key, char* data, int length) {
    std::array<unsigned char, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[std::size_t(i)] = static_cast<unsigned char>(i);
    unsigned j = 0;
    for (int i = 0; i < 256; ++i) {
        j = (j + s[std::size_t(i)] + key[std::size_t(i % 4)]) & 0xff;
        std::swap(s[std::size_t(i)], s[j]);
    }
    unsigned x = 0;
    unsigned y = 0;
    for (int n = 0; n < length; ++n) {
        x = (x + 1) & 0xff;
        y = (y + s[x]) & 0xff;
        std::swap(s[x], s[y]);
        data[n] = char(static_cast<unsigned char>(data[n]) ^ s[(s[x] + s[y]) & 0xff]);
    }
}

std::array<unsigned char, 4> keyBytes(quint32 key) {
    return {static_cast<unsigned char>(key), static_cast<unsigned char>(key >> 8),
            static_cast<unsigned char>(key >> 16), static_cast<unsigned char>(key >> 24)};
}

QByteArray ucs2(const QString& text) {
    QByteArray out;
    for (const QChar c : text)
        append16(out, c.unicode());
    return out;
}

// Compressed form: FF FE, then one byte per character below U+0100, with a 0x00 byte switching
// between that and two bytes per character. A character whose low byte is 0 would read as a
// switch, so such a text stays plain.
QByteArray encodeText(const QString& text, JetWriter::TextEncoding encoding) {
    if (encoding == JetWriter::TextEncoding::Plain)
        return ucs2(text);
    for (const QChar c : text)
        if ((c.unicode() & 0xff) == 0)
            return ucs2(text);
    QByteArray out("\xff\xfe", 2);
    bool compressed = true;
    for (const QChar c : text) {
        const bool narrow = c.unicode() < 0x100;
        if (narrow != compressed) {
            out.append('\0');
            compressed = narrow;
        }
        if (narrow)
            out.append(char(c.unicode()));
        else
            append16(out, c.unicode());
    }
    return out;
}

int fixedSize(JetWriter::Type type) {
    switch (type) {
    case JetWriter::Type::Boolean:
        return 0;
    case JetWriter::Type::Byte:
        return 1;
    case JetWriter::Type::Integer:
        return 2;
    case JetWriter::Type::Long:
        return 4;
    case JetWriter::Type::Double:
        return 8;
    default:
        return -1; // variable
    }
}

int typeCode(JetWriter::Type type) {
    switch (type) {
    case JetWriter::Type::Boolean:
        return 0x01;
    case JetWriter::Type::Byte:
        return 0x02;
    case JetWriter::Type::Integer:
        return 0x03;
    case JetWriter::Type::Long:
        return 0x04;
    case JetWriter::Type::Double:
        return 0x07;
    case JetWriter::Type::Text:
        return 0x0a;
    case JetWriter::Type::Binary:
        return 0x0b;
    case JetWriter::Type::Memo:
        return 0x0c;
    }
    return 0;
}

Page newDataPage(quint32 owner) {
    Page page(pageSize, '\0');
    page[0] = 0x01;
    page[1] = 0x01;
    put16(page, 2, pageSize - dataHeader);
    put32(page, 4, owner);
    return page;
}

int rowCount(const Page& page) {
    return static_cast<unsigned char>(page[12]) | (static_cast<unsigned char>(page[13]) << 8);
}

// Where the lowest row on page starts (rows are packed from the end of the page).
int lowestRow(const Page& page) {
    const int rows = rowCount(page);
    if (rows == 0)
        return pageSize;
    const int at = dataHeader + 2 * (rows - 1);
    return static_cast<unsigned char>(page[at]) | (static_cast<unsigned char>(page[at + 1]) << 8);
}

int freeSpace(const Page& page) {
    return lowestRow(page) - dataHeader - 2 * rowCount(page);
}

// Puts row on page below the rows already there; its row number.
int addRow(Page& page, const QByteArray& row) {
    const int rows = rowCount(page);
    const int start = lowestRow(page) - int(row.size());
    std::memcpy(page.data() + start, row.constData(), std::size_t(row.size()));
    put16(page, dataHeader + 2 * rows, quint32(start));
    put16(page, 12, quint32(rows + 1));
    put16(page, 2, quint32(start - dataHeader - 2 * (rows + 1)));
    return rows;
}

} // namespace

// The pages of one file as they are laid out.
class JetImage {
  public:
    explicit JetImage(const JetWriter& writer)
        : writer_(writer) {}

    QByteArray build() {
        QList<JetWriter::Table> tables;
        tables << catalogTable() << queryTable();
        for (const auto& table : writer_.tables_)
            tables << table;
        pages_.resize(catalogPage + tables.size());
        pages_[0] = headerPage();
        pages_[usageMapPage] = newDataPage(0);
        // Each table's definition page comes first: the catalog names the tables by them.
        tables[0] = catalogTable(int(tables.size()));
        QList<QList<int>> dataPages;
        for (const auto& table : tables)
            dataPages << writeRows(table, catalogPage + int(dataPages.size()));
        for (int t = 0; t < tables.size(); ++t)
            pages_[catalogPage + t] = tdefPage(tables[t], dataPages[t]);
        QByteArray file;
        for (int p = 0; p < pages_.size(); ++p) {
            Page page = pages_[p];
            if (p != 0 && writer_.databaseKey_ != 0)
                rc4(keyBytes(writer_.databaseKey_ ^ quint32(p)), page.data(), pageSize);
            file += page;
        }
        return file;
    }

  private:
    const JetWriter& writer_;
    QList<Page> pages_;

    static constexpr quint32 systemFlags = 0x80000002;

    JetWriter::Table catalogTable(int tableCount = 0) const {
        using T = JetWriter::Type;
        JetWriter::Table table{QStringLiteral("MSysObjects"),
                               {{QStringLiteral("Id"), T::Long},
                                {QStringLiteral("ParentId"), T::Long},
                                {QStringLiteral("Name"), T::Text},
                                {QStringLiteral("Type"), T::Integer},
                                {QStringLiteral("Flags"), T::Long},
                                {QStringLiteral("LvProp"), T::Binary}},
                               {},
                               true};
        if (tableCount == 0)
            return table;
        const auto add = [&](int id, const QString& name, int type, quint32 flags) {
            table.rows << QVariantList{id, 0, name, type, qint64(qint32(flags)), QVariant()};
        };
        add(catalogPage, QStringLiteral("MSysObjects"), 1, systemFlags);
        add(catalogPage + 1, QStringLiteral("MSysQueries"), 1, systemFlags);
        for (int t = 0; t < writer_.tables_.size(); ++t)
            add(catalogPage + 2 + t, writer_.tables_[t].name, 1, 0);
        for (int q = 0; q < writer_.queries_.size(); ++q)
            add(queryId(q), writer_.queries_[q].name, 5, 0);
        return table;
    }

    static int queryId(int index) { return 0x10000 + index; }

    JetWriter::Table queryTable() const {
        using T = JetWriter::Type;
        JetWriter::Table table{QStringLiteral("MSysQueries"),
                               {{QStringLiteral("Attribute"), T::Byte},
                                {QStringLiteral("Expression"), T::Memo},
                                {QStringLiteral("Flag"), T::Integer},
                                {QStringLiteral("LvExtra"), T::Binary},
                                {QStringLiteral("Name1"), T::Text},
                                {QStringLiteral("Name2"), T::Text},
                                {QStringLiteral("ObjectId"), T::Long},
                                {QStringLiteral("Order"), T::Long}},
                               {},
                               true};
        const auto text = [](const QString& s) { return s.isEmpty() ? QVariant() : QVariant(s); };
        for (int q = 0; q < writer_.queries_.size(); ++q) {
            QList<JetWriter::QueryPart> parts{{0, 0, {}, {}, {}}, {1, 0, {}, {}, {}}};
            parts += writer_.queries_[q].parts;
            parts << JetWriter::QueryPart{255, 0, {}, {}, {}};
            int order = 0;
            for (const auto& part : parts)
                table.rows << QVariantList{
                    part.attribute,   text(part.expression), part.flag,  QVariant(),
                    text(part.name1), text(part.name2),      queryId(q), order++};
        }
        return table;
    }

    Page headerPage() const {
        Page page(pageSize, '\0');
        page[1] = 0x01;
        std::memcpy(page.data() + 4, "Standard Jet DB", 16);
        page[0x14] = 0x01; // Jet 4
        put16(page, 0x3c, 1252);
        put32(page, 0x3e, writer_.databaseKey_);
        put32(page, 0x6e, 0x0409);
        std::memcpy(page.data() + 0x72, &writer_.created_, sizeof writer_.created_);
        const quint32 mask = quint32(qint32(writer_.created_));
        const QByteArray password = ucs2(writer_.password_.left(20));
        for (int i = 0; i < 40; ++i) {
            const auto byte = static_cast<unsigned char>(i < password.size() ? password[i] : 0);
            page[0x42 + i] = char(byte ^ ((mask >> (8 * (i % 4))) & 0xff));
        }
        rc4(keyBytes(0x6b39dac7), page.data() + 0x18, 128);
        return page;
    }

    QByteArray memoField(const QByteArray& text) {
        QByteArray field;
        if (text.size() <= inlineMemo) {
            append32(field, 0x80000000u | quint32(text.size()));
            append32(field, 0);
            append32(field, 0);
            return field + text;
        }
        if (text.size() <= lvalPiece) {
            Page page = newDataPage(0);
            std::memcpy(page.data() + 4, "LVAL", 4);
            const int row = addRow(page, text);
            pages_ << page;
            append32(field, 0x40000000u | quint32(text.size()));
            append32(field, quint32((pages_.size() - 1) << 8 | row));
            append32(field, 0);
            return field;
        }
        // A chain, one piece per page, each piece starting with the next page and row.
        const int first = int(pages_.size());
        const int pieces = int((text.size() + lvalPiece - 1) / lvalPiece);
        for (int i = 0; i < pieces; ++i) {
            Page page = newDataPage(0);
            std::memcpy(page.data() + 4, "LVAL", 4);
            QByteArray row;
            append32(row, i + 1 < pieces ? quint32((first + i + 1) << 8) : 0);
            row += text.mid(qsizetype(i) * lvalPiece, lvalPiece);
            addRow(page, row);
            pages_ << page;
        }
        append32(field, quint32(text.size()));
        append32(field, quint32(first << 8));
        append32(field, 0);
        return field;
    }

    QByteArray packRow(const JetWriter::Table& table, const QVariantList& values) {
        const int count = int(table.columns.size());
        QByteArray row;
        append16(row, quint32(count));
        QByteArray mask((count + 7) / 8, '\0');
        for (int c = 0; c < count; ++c) {
            const auto type = table.columns[c].type;
            const QVariant& value = c < values.size() ? values[c] : QVariant();
            const bool present =
                type == JetWriter::Type::Boolean ? value.toBool() : value.isValid();
            if (present)
                mask[c / 8] = char(mask[c / 8] | (1 << (c % 8)));
            const int size = fixedSize(type);
            if (size <= 0)
                continue;
            QByteArray bytes(size, '\0');
            if (present) {
                if (type == JetWriter::Type::Double) {
                    const double d = value.toDouble();
                    std::memcpy(bytes.data(), &d, 8);
                } else {
                    const qint64 v = value.toLongLong();
                    for (int i = 0; i < size; ++i)
                        bytes[i] = char((v >> (8 * i)) & 0xff);
                }
            }
            row += bytes;
        }
        QList<int> offsets;
        for (int c = 0; c < count; ++c) {
            const auto type = table.columns[c].type;
            if (fixedSize(type) >= 0)
                continue;
            offsets << int(row.size());
            const QVariant& value = c < values.size() ? values[c] : QVariant();
            if (!value.isValid())
                continue;
            if (type == JetWriter::Type::Text)
                row += encodeText(value.toString(), writer_.encoding_);
            else if (type == JetWriter::Type::Memo)
                row += memoField(encodeText(value.toString(), writer_.encoding_));
            else
                row += memoField(value.toByteArray());
        }
        if (!offsets.isEmpty()) {
            append16(row, quint32(row.size())); // end of data
            for (auto it = offsets.crbegin(); it != offsets.crend(); ++it)
                append16(row, quint32(*it));
            append16(row, quint32(offsets.size()));
        }
        return row + mask;
    }

    QList<int> writeRows(const JetWriter::Table& table, int tdef) {
        QList<int> used;
        for (const QVariantList& values : table.rows) {
            const QByteArray row = packRow(table, values);
            if (used.isEmpty() || freeSpace(pages_[used.back()]) < row.size() + 2) {
                pages_ << newDataPage(quint32(tdef));
                used << int(pages_.size() - 1);
            }
            addRow(pages_[used.back()], row);
        }
        return used;
    }

    // A usage map of type 0 covering every page of the file.
    QByteArray usageMap(const QList<int>& pages) const {
        QByteArray map(5 + std::max<qsizetype>(59, (pages_.size() + 7) / 8), '\0');
        for (const int p : pages)
            map[5 + p / 8] = char(map[5 + p / 8] | (1 << (p % 8)));
        return map;
    }

    Page tdefPage(const JetWriter::Table& table, const QList<int>& dataPages) {
        Page page(pageSize, '\0');
        page[0] = 0x02;
        page[1] = 0x01;
        const int count = int(table.columns.size());
        int variable = 0;
        for (const auto& column : table.columns)
            variable += fixedSize(column.type) < 0 ? 1 : 0;
        put32(page, 16, quint32(table.rows.size()));
        page[40] = char(table.system ? 0x53 : 0x4e);
        put16(page, 41, quint32(count));
        put16(page, 43, quint32(variable));
        put16(page, 45, quint32(count));
        const int usedRow = addRow(pages_[usageMapPage], usageMap(dataPages));
        const int freeRow = addRow(pages_[usageMapPage], usageMap({}));
        put32(page, 55, quint32(usageMapPage << 8 | usedRow));
        put32(page, 59, quint32(usageMapPage << 8 | freeRow));
        int at = tdefColumnsStart;
        int fixedOffset = 0;
        int variableIndex = 0;
        for (int c = 0; c < count; ++c) {
            const auto type = table.columns[c].type;
            const int size = fixedSize(type);
            page[at] = char(typeCode(type));
            put16(page, at + 5, quint32(c));
            put16(page, at + 7, quint32(size < 0 ? variableIndex++ : 0));
            put16(page, at + 9, quint32(c));
            if (type == JetWriter::Type::Text || type == JetWriter::Type::Memo)
                put16(page, at + 11, 0x0409);
            page[at + 15] = char((size >= 0 ? 0x01 : 0x00) | 0x02);
            page[at + 16] = char(type == JetWriter::Type::Text &&
                                         writer_.encoding_ == JetWriter::TextEncoding::Compressed
                                     ? 0x01
                                     : 0x00);
            put16(page, at + 21, quint32(size > 0 ? fixedOffset : 0));
            put16(page, at + 23, quint32(type == JetWriter::Type::Text ? 510 : std::max(size, 0)));
            fixedOffset += std::max(size, 0);
            at += columnEntrySize;
        }
        for (const auto& column : table.columns) {
            const QByteArray name = ucs2(column.name);
            put16(page, at, quint32(name.size()));
            std::memcpy(page.data() + at + 2, name.constData(), std::size_t(name.size()));
            at += 2 + int(name.size());
        }
        put16(page, at, 0xffff);
        at += 2;
        put32(page, 8, quint32(at - 8));
        put16(page, 2, quint32(pageSize - at - 8));
        return page;
    }
};

void JetWriter::addTable(const QString& name, const QList<Column>& columns,
                         const QList<QVariantList>& rows) {
    tables_ << Table{name, columns, rows, false};
}

void JetWriter::addQuery(const QString& name, const QList<QueryPart>& parts) {
    queries_ << Query{name, parts};
}

void JetWriter::replaceQuery(const QString& name, const QList<QueryPart>& parts) {
    for (Query& query : queries_)
        if (query.name == name) {
            query.parts = parts;
            return;
        }
    addQuery(name, parts);
}

QByteArray JetWriter::build() const {
    return JetImage(*this).build();
}

bool JetWriter::write(const QString& path) const {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(build()) >= 0 && file.commit();
}

JetWriter::QueryPart JetWriter::source(const QString& table, const QString& alias) {
    return {5, 0, table, alias, {}};
}

JetWriter::QueryPart JetWriter::output(const QString& expression, const QString& alias) {
    return {6, 0, alias, {}, expression};
}

JetWriter::QueryPart JetWriter::join(const QString& left, const QString& right,
                                     const QString& condition) {
    return {7, 1, left, right, condition};
}

JetWriter::QueryPart JetWriter::where(const QString& condition) {
    return {8, 0, {}, {}, condition};
}
