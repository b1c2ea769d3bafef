#pragma once

#include <QList>
#include <QString>

// The words a parent types or pastes to add many at once: one a line, the English word
// optionally followed by its meaning after a comma, a Japanese comma or a tab.
namespace BulkWords {

struct Entry {
    QString word;
    QString meaning; // empty: to be suggested
    bool operator==(const Entry&) const = default;
};

// The entries of text in order; blank lines are skipped, spaces around each part trimmed.
QList<Entry> parse(const QString& text);

} // namespace BulkWords
