-- The pure functions run in parallel workers and give there what they
-- give in the leader; cGet, which reads the leader's separator, stays in
-- the leader.
CREATE TABLE lines AS
  SELECT n, n || '|' || cReverse(n::text) || '|' || (n % 97) || '|' || repeat('x', n % 13) AS line
  FROM generate_series(1, 200000) n;
ANALYZE lines;

SET max_parallel_workers_per_gather = 0;
CREATE TABLE serial AS
  SELECT sum(length(cGetIn(line, '|', 3)))::bigint AS fields,
         count(*) FILTER (WHERE cPatternMatch(line, '1*') <> 0) AS matches,
         sum(length(cStringSAR(line, 'x', 'yz', 0)))::bigint AS replaced,
         sum(hashtext(cGetIn(line, '|', 2)))::bigint AS hashed
  FROM lines;

SET max_parallel_workers_per_gather = 4;
SET parallel_setup_cost = 0;
SET parallel_tuple_cost = 0;
SET min_parallel_table_scan_size = 0;
SET parallel_leader_participation = off;

EXPLAIN (COSTS OFF)
  SELECT sum(length(cGetIn(line, '|', 3))) FROM lines;

SELECT s.* = p.* AS same, s.fields, s.matches
FROM serial s,
     (SELECT sum(length(cGetIn(line, '|', 3)))::bigint AS fields,
             count(*) FILTER (WHERE cPatternMatch(line, '1*') <> 0) AS matches,
             sum(length(cStringSAR(line, 'x', 'yz', 0)))::bigint AS replaced,
             sum(hashtext(cGetIn(line, '|', 2)))::bigint AS hashed
      FROM lines) p;

-- Rows really went through the workers (the leader takes none).
CREATE FUNCTION workers_launched(query text) RETURNS int LANGUAGE plpgsql AS $$
DECLARE
  line text;
BEGIN
  FOR line IN EXECUTE 'EXPLAIN (ANALYZE, COSTS OFF, TIMING OFF, SUMMARY OFF) ' || query LOOP
    IF line ~ 'Workers Launched' THEN
      RETURN substring(line FROM '[0-9]+')::int;
    END IF;
  END LOOP;
  RETURN 0;
END $$;
SELECT workers_launched($$SELECT count(*) FROM lines WHERE cGetIn(line, '|', 3) = '5'$$) > 0 AS workers;

-- An error in a worker reaches the client.
SELECT count(cGetIn(line, '|', n::bigint * 20000)) FROM lines;

-- cGet is PARALLEL RESTRICTED: it runs in the leader, never in a worker.
SELECT cSetDefaultSeparator(';');
EXPLAIN (COSTS OFF, VERBOSE)
  SELECT count(*) FROM lines WHERE cGet(replace(line, '|', ';'), 3) = '5';
SELECT count(*) FROM lines WHERE cGet(replace(line, '|', ';'), 3) = '5';
SELECT count(*) FROM lines WHERE cGetIn(line, '|', 3) = '5';

DROP FUNCTION workers_launched;
DROP TABLE lines, serial;
