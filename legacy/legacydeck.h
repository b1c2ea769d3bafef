#pragma once

#include <QStringList>
#include <deck.h>

class JetFile;

// Maps the record sources tittle, ordered, selected and word (with select_word's join when the
// words carry no group and sgroup) onto our tables, with the sub-groups' marks; an optional text
// that is Null stays apart from an empty one. Rows that our format cannot hold are left out and
// listed in leftOut, one line each saying which and why; a missing record source or field, or a
// query that cannot be understood, throws LegacyError.
Deck readLegacyDeck(const JetFile& file, QStringList& leftOut);
