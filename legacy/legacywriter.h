#pragma once

class QString;
struct LegacyDeck;

// Writes deck as a new word-data file of our format at path, which must not exist yet (the
// import builds under a temporary name and renames). Marks, levels and counts are kept as they
// were. Throws LegacyError(Write); a file begun is removed again.
void writeLegacyDeck(const LegacyDeck& deck, const QString& path);
