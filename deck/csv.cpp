#include "csv.h"

#include <QStringDecoder>

namespace Csv {

namespace {

// The 1-based line of the first byte that is not valid UTF-8.
int firstBadUtf8Line(const QByteArray& bytes) {
    int line = 1;
    for (const QByteArray& text : bytes.split('\n')) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        [[maybe_unused]] const QString decoded = decoder.decode(text);
        if (decoder.hasError())
            return line;
        ++line;
    }
    return line;
}

bool allEmpty(const QStringList& fields) {
    for (const QString& field : fields)
        if (!field.isEmpty())
            return false;
    return true;
}

class Parser {
  public:
    explicit Parser(const QString& text)
        : text_(text) {}

    Table run() {
        while (pos_ < text_.size())
            parseRecord();
        return std::move(table_);
    }

  private:
    bool atEnd() const { return pos_ >= text_.size(); }
    QChar peek() const { return text_.at(pos_); }

    // Consumes one line end (LF, CR LF or a lone CR) if there is one.
    bool takeLineEnd() {
        if (atEnd())
            return false;
        if (peek() == u'\n') {
            ++pos_;
        } else if (peek() == u'\r') {
            ++pos_;
            if (!atEnd() && peek() == u'\n')
                ++pos_;
        } else {
            return false;
        }
        ++line_;
        return true;
    }

    void skipRestOfRecord() {
        while (!atEnd() && peek() != u'\n' && peek() != u'\r')
            ++pos_;
        takeLineEnd();
    }

    void parseRecord() {
        Record record{line_, {}};
        for (;;) {
            QString field;
            if (!atEnd() && peek() == u'"') {
                if (!parseQuoted(field, record.line))
                    return;
            } else {
                while (!atEnd() && peek() != u',' && peek() != u'\n' && peek() != u'\r')
                    field += text_.at(pos_++);
            }
            record.fields << field;
            if (!atEnd() && peek() == u',') {
                ++pos_;
                continue;
            }
            if (atEnd() || takeLineEnd())
                break;
            // Only a quoted field can stop anywhere but at a comma or a line end.
            table_.errors << Error{line_, QStringLiteral("text after a closing quote")};
            skipRestOfRecord();
            return;
        }
        if (!allEmpty(record.fields))
            table_.records << record;
    }

    // Reads a quoted field (the cursor is on its opening quote); false when it never closes.
    bool parseQuoted(QString& field, int recordLine) {
        ++pos_;
        for (;;) {
            if (atEnd()) {
                table_.errors << Error{recordLine, QStringLiteral("a quoted field is not closed")};
                return false;
            }
            const QChar c = text_.at(pos_);
            if (c == u'"') {
                if (pos_ + 1 < text_.size() && text_.at(pos_ + 1) == u'"') {
                    field += u'"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                return true;
            }
            if (c == u'\n' ||
                (c == u'\r' && !(pos_ + 1 < text_.size() && text_.at(pos_ + 1) == u'\n')))
                ++line_;
            field += c;
            ++pos_;
        }
    }

    const QString& text_;
    qsizetype pos_ = 0;
    int line_ = 1;
    Table table_;
};

} // namespace

Table parse(const QByteArray& utf8) {
    QByteArray bytes = utf8;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return Table{{}, {Error{firstBadUtf8Line(bytes), QStringLiteral("not UTF-8 text")}}};
    return Parser(text).run();
}

QByteArray formatRow(const QStringList& fields) {
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        const QString& field = fields.at(i);
        const bool quote =
            field.contains(u',') || field.contains(u'"') || field.contains(u'\n') ||
            field.contains(u'\r') ||
            (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
        if (quote) {
            QString escaped = field;
            escaped.replace(u'"', QStringLiteral("\"\""));
            line += '"' + escaped.toUtf8() + '"';
        } else {
            line += field.toUtf8();
        }
    }
    return line + '\n';
}

} // namespace Csv
