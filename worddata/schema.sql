-- The word-data file (.pml): one source of truth for every writer (the program never
-- restructures a file; the deck builder and the test fixtures create files from this).
-- application_id and user_version are set by WordDataFormat after these statements.
-- Every identifier is quoted: group, select, key, level and count are SQL keywords.
-- A statement ends with ";" at the end of a line; a trigger ends with "END;".

-- Big groups, one per slot 1..6 on the main menu.
CREATE TABLE "tittle" (
  "group"    INTEGER PRIMARY KEY CHECK ("group" BETWEEN 1 AND 6),
  "tittle"   TEXT NOT NULL,
  "ttlimage" TEXT NOT NULL,
  "setmei"   TEXT NOT NULL
) STRICT;

-- Sub-groups of a group; "select" is the study mark (0 or 1).
CREATE TABLE "subgroup" (
  "group"  INTEGER NOT NULL CHECK ("group" BETWEEN 1 AND 6) REFERENCES "tittle" ("group"),
  "sgroup" INTEGER NOT NULL CHECK ("sgroup" >= 1),
  "images" TEXT NOT NULL,
  "select" INTEGER NOT NULL DEFAULT 0 CHECK ("select" IN (0, 1)),
  PRIMARY KEY ("group", "sgroup")
) STRICT, WITHOUT ROWID;

-- The words; "key" is the rowid, so a word is found by key without an extra index.
CREATE TABLE "word" (
  "key"     INTEGER PRIMARY KEY CHECK ("key" BETWEEN 1 AND 2147483647),
  "group"   INTEGER NOT NULL,
  "sgroup"  INTEGER NOT NULL,
  "level"   INTEGER NOT NULL DEFAULT 0 CHECK ("level" BETWEEN 0 AND 5),
  "times"   INTEGER NOT NULL DEFAULT 0 CHECK ("times" BETWEEN 0 AND 2147483647),
  "word"    TEXT NOT NULL,
  "meaning" TEXT,
  "images"  TEXT NOT NULL,
  "voice"   TEXT NOT NULL,
  "text1"   TEXT,
  "text2"   TEXT,
  "filler1" INTEGER CHECK ("filler1" BETWEEN -2147483648 AND 2147483647),
  "filler2" TEXT,
  "filler3" TEXT,
  FOREIGN KEY ("group", "sgroup") REFERENCES "subgroup" ("group", "sgroup")
) STRICT;

-- The highest key the file has ever held, raised by the trigger below on every new word: a
-- new word's key is given above it, so that a key never names another word later (a practice
-- in progress holds the keys of its cards). Added in format version 2.
CREATE TABLE "keymark" (
  "highest" INTEGER NOT NULL CHECK ("highest" BETWEEN 0 AND 2147483647)
) STRICT;

INSERT INTO "keymark" VALUES (0);

CREATE TRIGGER "word_keymark" AFTER INSERT ON "word"
WHEN NEW."key" > (SELECT "highest" FROM "keymark")
BEGIN
  UPDATE "keymark" SET "highest" = NEW."key";
END;

-- Words of a sub-group by level and key: the words of the marked sub-groups.
CREATE INDEX "word_by_subgroup_level" ON "word" ("group", "sgroup", "level");

-- Words of a level in key order, with their sub-group: the words of a level come in the
-- order they are shown, so the first of two thousand is read without sorting them all.
CREATE INDEX "word_by_level_key" ON "word" ("level", "key", "group", "sgroup");

-- The marked sub-groups are the outer loop of the study views.
CREATE INDEX "subgroup_by_select" ON "subgroup" ("select");

-- The number of words per (group, sub-group, level), kept by the triggers on "word", so that
-- the tallies on every click are read, not counted (counting a group's words costs 0.5 ms).
CREATE TABLE "tally" (
  "group"  INTEGER NOT NULL,
  "sgroup" INTEGER NOT NULL,
  "level"  INTEGER NOT NULL,
  "count"  INTEGER NOT NULL CHECK ("count" >= 0),
  PRIMARY KEY ("group", "sgroup", "level")
) STRICT, WITHOUT ROWID;

CREATE TRIGGER "word_tally_insert" AFTER INSERT ON "word"
BEGIN
  INSERT INTO "tally" VALUES (NEW."group", NEW."sgroup", NEW."level", 1)
  ON CONFLICT DO UPDATE SET "count" = "count" + 1;
END;

CREATE TRIGGER "word_tally_delete" AFTER DELETE ON "word"
BEGIN
  UPDATE "tally" SET "count" = "count" - 1
  WHERE "group" = OLD."group" AND "sgroup" = OLD."sgroup" AND "level" = OLD."level";
END;

CREATE TRIGGER "word_tally_update" AFTER UPDATE OF "group", "sgroup", "level" ON "word"
WHEN NEW."group" IS NOT OLD."group" OR NEW."sgroup" IS NOT OLD."sgroup"
  OR NEW."level" IS NOT OLD."level"
BEGIN
  UPDATE "tally" SET "count" = "count" - 1
  WHERE "group" = OLD."group" AND "sgroup" = OLD."sgroup" AND "level" = OLD."level";
  INSERT INTO "tally" VALUES (NEW."group", NEW."sgroup", NEW."level", 1)
  ON CONFLICT DO UPDATE SET "count" = "count" + 1;
END;

CREATE VIEW "selected" AS
  SELECT "group", "sgroup", "select" FROM "subgroup";

CREATE VIEW "ordered" AS
  SELECT "group", "sgroup", "images" FROM "subgroup";

CREATE VIEW "syukei" AS
  SELECT "group", "sgroup", "level", "count" FROM "tally" WHERE "count" > 0;

-- CROSS JOIN keeps the marked sub-groups as the outer loop.
CREATE VIEW "syukei2" AS
  SELECT t."level" AS "level", sum(t."count") AS "count"
  FROM "subgroup" s CROSS JOIN "tally" t ON t."group" = s."group" AND t."sgroup" = s."sgroup"
  WHERE s."select" = 1 AND t."count" > 0
  GROUP BY t."level";

-- A plain join: for the words of a level SQLite walks "word_by_level_key" in key order and
-- looks each sub-group up; for all words it walks the marked sub-groups.
CREATE VIEW "select_word" AS
  SELECT w."key" AS "key", w."level" AS "level", w."times" AS "times", w."word" AS "word",
         w."meaning" AS "meaning", w."images" AS "images", w."voice" AS "voice",
         w."text1" AS "text1", w."text2" AS "text2", w."filler1" AS "filler1",
         w."filler2" AS "filler2", w."filler3" AS "filler3"
  FROM "word" w JOIN "subgroup" s ON s."group" = w."group" AND s."sgroup" = w."sgroup"
  WHERE s."select" = 1;

-- Only the mark can be written through "selected"; any true value is stored as 1.
CREATE TRIGGER "selected_update" INSTEAD OF UPDATE ON "selected"
BEGIN
  SELECT RAISE(ABORT, 'only select can be changed in selected')
  WHERE NEW."group" IS NOT OLD."group" OR NEW."sgroup" IS NOT OLD."sgroup";
  UPDATE "subgroup" SET "select" = (NEW."select" <> 0)
  WHERE "group" = OLD."group" AND "sgroup" = OLD."sgroup";
END;

-- Only level and times can be written through "select_word".
CREATE TRIGGER "select_word_update" INSTEAD OF UPDATE ON "select_word"
BEGIN
  SELECT RAISE(ABORT, 'only level and times can be changed in select_word')
  WHERE NEW."key" IS NOT OLD."key" OR NEW."word" IS NOT OLD."word"
     OR NEW."meaning" IS NOT OLD."meaning" OR NEW."images" IS NOT OLD."images"
     OR NEW."voice" IS NOT OLD."voice" OR NEW."text1" IS NOT OLD."text1"
     OR NEW."text2" IS NOT OLD."text2" OR NEW."filler1" IS NOT OLD."filler1"
     OR NEW."filler2" IS NOT OLD."filler2" OR NEW."filler3" IS NOT OLD."filler3";
  UPDATE "word" SET "level" = NEW."level", "times" = NEW."times" WHERE "key" = OLD."key";
END;
