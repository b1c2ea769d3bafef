#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// A table read from an Access 2000-format file. Values are typed: integers as qint64, Yes/No
// as bool, other numbers as double, texts as QString (an empty text is an empty, valid
// string); a Null is an invalid QVariant.
struct JetTable {
    QString name;
    QStringList columns;
    QList<QVariantList> rows;
    // The column's index, found without regard to case (as Jet names are), or -1.
    int column(const QString& name) const;
};

// One row of a saved query's definition (the system table of queries).
struct JetQueryPart {
    enum Attribute {
        Start = 0,
        Type = 1,
        Flags = 3,
        Source = 5,
        Output = 6,
        Join = 7,
        Where = 8,
        GroupBy = 9,
        Having = 10,
        OrderBy = 11,
        End = 255
    };
    int attribute = 0;
    int flag = 0;
    QString name1;
    QString name2;
    QString expression;
};

struct JetQuery {
    QString name;
    QList<JetQueryPart> parts;
};

// An Access 2000-format (Jet 4) file opened read-only through libmdb. One object per import:
// the library's handles are not thread-safe. Throws LegacyError.
class JetFile {
  public:
    // True when path starts with the header of such a file, whatever its extension.
    static bool hasJetHeader(const QString& path);

    explicit JetFile(const QString& path);
    ~JetFile();
    JetFile(const JetFile&) = delete;
    JetFile& operator=(const JetFile&) = delete;

    // The user tables and the saved queries (helper queries of forms, "~...", left out).
    QStringList tables() const;
    QStringList queries() const;
    // Found without regard to case; empty when there is none.
    QString tableNamed(const QString& name) const;
    QString queryNamed(const QString& name) const;

    JetTable readTable(const QString& name) const;
    // The definition of the saved query name, parts in stored order.
    JetQuery readQuery(const QString& name) const;

  private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    JetTable readAnyTable(const QString& name) const;
};
