-- The pure functions are IMMUTABLE: they serve in an index, a generated
-- column and a view.  The others are not.
SELECT p.proname, pg_get_function_identity_arguments(p.oid) AS arguments, p.provolatile,
       p.proparallel, p.proisstrict
FROM pg_proc p JOIN pg_depend d ON d.objid = p.oid
JOIN pg_extension e ON d.refobjid = e.oid
WHERE e.extname = 'twinekit' AND (p.provolatile <> 'i' OR p.proparallel <> 's' OR NOT p.proisstrict)
ORDER BY 1, 2;

CREATE TABLE people (
  id int PRIMARY KEY,
  line text NOT NULL,
  surname text GENERATED ALWAYS AS (cProperName(cGetIn(line, '|', 2))) STORED
);
INSERT INTO people VALUES (1, '17|smith|London'), (2, '23|o''neil|Cork'), (3, '31|mac donald|Oban');
SELECT * FROM people ORDER BY id;
UPDATE people SET line = '17|jones|London' WHERE id = 1;
SELECT surname FROM people WHERE id = 1;

CREATE INDEX people_town ON people (cGetInR(line, '|', 1));
SET enable_seqscan = off;
EXPLAIN (COSTS OFF) SELECT id FROM people WHERE cGetInR(line, '|', 1) = 'Cork';
SELECT id FROM people WHERE cGetInR(line, '|', 1) = 'Cork';
RESET enable_seqscan;

-- A function that is not pure serves in neither.
CREATE INDEX people_mixed ON people (cMixChars(line));
CREATE INDEX people_get ON people (cGet(line, 2));
ALTER TABLE people ADD COLUMN mixed text GENERATED ALWAYS AS (cMixChars(line)) STORED;

-- A view that keeps a field rule.
CREATE VIEW towns AS SELECT id, cGetInR(line, '|', 1) AS town FROM people;
SELECT * FROM towns ORDER BY id;

DROP VIEW towns;
DROP TABLE people;
