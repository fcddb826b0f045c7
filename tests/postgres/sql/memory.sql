-- No memory stays behind from one call to the next: after a first pass
-- (which reads the table into shared buffers), further passes of a
-- million calls leave the backend's resident size where it was.
CREATE FUNCTION rss_kb() RETURNS bigint LANGUAGE sql AS
  $$SELECT substring(pg_read_file('/proc/self/status') FROM 'VmRSS:\s*([0-9]+)')::bigint$$;
CREATE TABLE lines AS
  SELECT n || '|' || md5(n::text) || '|' || (n % 1000) || '|' || repeat('x', n % 50) AS line
  FROM generate_series(1, 200000) n;
SET max_parallel_workers_per_gather = 0;

CREATE TEMP TABLE sizes (pass int, kb bigint);
DO $$
BEGIN
  FOR pass IN 1..3 LOOP
    PERFORM sum(length(cGetIn(line, '|', 3))), sum(length(cStringSAR(line, 'x', 'yz', -1))),
            sum(length(cToHexa(line::bytea))), sum(length(cReverse(line))),
            sum(cPatternMatch(line, '1*'))
    FROM lines;
    INSERT INTO sizes VALUES (pass, rss_kb());
  END LOOP;
END $$;
SELECT max(kb) FILTER (WHERE pass = 3) - max(kb) FILTER (WHERE pass = 1) < 1024 AS steady
FROM sizes;

-- An error leaves nothing behind either.
CREATE FUNCTION failing_calls(n int) RETURNS bigint LANGUAGE plpgsql AS $$
BEGIN
  FOR i IN 1..n LOOP
    BEGIN
      PERFORM cFromHexa(repeat('FF', 100));
    EXCEPTION WHEN character_not_in_repertoire THEN
    END;
  END LOOP;
  RETURN rss_kb();
END $$;
SELECT failing_calls(20000) AS kb \gset
SELECT failing_calls(20000) - :kb < 1024 AS steady;

DROP FUNCTION failing_calls;
DROP TABLE lines;
DROP FUNCTION rss_kb;
