#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

// Writes small Access 2000-format (Jet 4) files for tests: tables with typed columns (no
// indexes), saved queries as rows of MSysObjects and MSysQueries, memo texts on long-value
// pages, Null values and as many data pages as the rows need. Only what a reader needs is
// written; whether Access itself would take such a file does not matter here.
class JetWriter {
  public:
    enum class Type { Boolean, Byte, Integer, Long, Double, Text, Memo, Binary };
    // How text is stored: Jet's compressed form (one byte per Latin-1 character) where the
    // text allows it, or plain UCS-2.
    enum class TextEncoding { Compressed, Plain };

    struct Column {
        QString name;
        Type type;
    };
    // One row of MSysQueries: attribute 0 start, 1 type, 5 source table, 6 output column,
    // 7 join, 8 WHERE, 11 ORDER BY, 255 end.
    struct QueryPart {
        int attribute = 0;
        int flag = 0;
        QString name1;
        QString name2;
        QString expression;
    };

    // A QVariant() value is Null; a Boolean column stores false for Null.
    void addTable(const QString& name, const QList<Column>& columns,
                  const QList<QVariantList>& rows);
    // The start, type and end rows are added around parts.
    void addQuery(const QString& name, const QList<QueryPart>& parts);
    // Gives the query of that name other parts (added when there is none).
    void replaceQuery(const QString& name, const QList<QueryPart>& parts);
    void setTextEncoding(TextEncoding encoding) { encoding_ = encoding; }
    // A non-zero key encrypts every page after the first, as an encoded database is.
    void setDatabaseKey(quint32 key) { databaseKey_ = key; }
    // A database password, masked with the creation date as Jet 4 keeps it.
    void setPassword(const QString& password, double created = 45000.25) {
        password_ = password;
        created_ = created;
    }

    QByteArray build() const;
    bool write(const QString& path) const;

    // Plain parts of a query: a source table, an output column, a join, a WHERE.
    static QueryPart source(const QString& table, const QString& alias = {});
    static QueryPart output(const QString& expression, const QString& alias = {});
    static QueryPart join(const QString& left, const QString& right, const QString& condition);
    static QueryPart where(const QString& condition);

  private:
    struct Table {
        QString name;
        QList<Column> columns;
        QList<QVariantList> rows;
        bool system = false;
    };
    struct Query {
        QString name;
        QList<QueryPart> parts;
    };
    QList<Table> tables_;
    QList<Query> queries_;
    TextEncoding encoding_ = TextEncoding::Compressed;
    quint32 databaseKey_ = 0;
    QString password_;
    double created_ = 0;

    friend class JetImage;
};
