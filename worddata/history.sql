-- The grading history: one row for every change of a word's level or count (a grading, a
-- reset), written by a trigger in the change's own transaction, so that a grading and its row
-- are on disk together or not at all. A word that moves to another key takes its rows along.
-- Added to a deck by the first grading written to it; a deck without it is complete.
CREATE TABLE "history" (
  "time" TEXT NOT NULL,
  "key" INTEGER NOT NULL,
  "before" INTEGER NOT NULL CHECK ("before" BETWEEN 0 AND 5),
  "after" INTEGER NOT NULL CHECK ("after" BETWEEN 0 AND 5)
) STRICT;

CREATE INDEX "history_by_key" ON "history" ("key");

CREATE INDEX "history_by_time" ON "history" ("time");

CREATE TRIGGER "word_history" AFTER UPDATE OF "level", "times" ON "word"
WHEN NEW."key" = OLD."key"
BEGIN
  INSERT INTO "history" VALUES
    (strftime('%Y-%m-%dT%H:%M:%fZ', 'now'), NEW."key", OLD."level", NEW."level");
END;

CREATE TRIGGER "word_history_key" AFTER UPDATE OF "key" ON "word"
BEGIN
  UPDATE "history" SET "key" = NEW."key" WHERE "key" = OLD."key";
END;
