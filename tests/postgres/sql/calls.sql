-- The functions called from SQL: both forms, NULL, the argument rules,
-- the result kinds, the errors.
CREATE EXTENSION twinekit;
\set VERBOSITY default

-- Each export is two functions, on bytea and on text; cArabicToRoman also
-- takes numbers.
SELECT count(*) AS functions, count(DISTINCT proname) AS names
FROM pg_proc p JOIN pg_depend d ON d.objid = p.oid
JOIN pg_extension e ON d.refobjid = e.oid WHERE e.extname = 'twinekit';

-- Names fold to lower case, as SQL's do; arguments by name.
SELECT cGetIn('a|b|c', '|', 2), CGETIN('a|b|c', '|', 3), cgetin(txt => 'x;y', sep => ';', index => 1);

-- The bytea form keeps every byte, zero included; the text form gives text.
SELECT cGetIn('\x610062ff7c63'::bytea, '\x7c'::bytea, 1) AS bytes,
       pg_typeof(cGetIn('a|b'::bytea, '|'::bytea, 1)) AS bytea_form,
       pg_typeof(cGetIn('a|b', '|', 1)) AS text_form;
SELECT cReverse('\x00ff41'::bytea), cToHexa('\x00ff'::bytea), cToHexa('é');
SELECT cFromHexa('41FF00'::bytea), cLrc('abc'::bytea);

-- NULL in any argument gives NULL.
SELECT cGetIn(NULL, '|', 1) IS NULL AS a, cGetIn('a', NULL, 1) IS NULL AS b,
       cGetIn('a', '|', NULL) IS NULL AS c, cStringSAR('a', 'a', 'b', NULL) IS NULL AS d;

-- Numbers: True is -1; Integer and Long results are integers.
SELECT cCheckNumericity('0123'), cCheckNumericity('01a'), cH2I('FFFF'), cH2L('7FFFFFFF'),
       cCount('a|b|c', '|'), cPatternMatch('Alice', 'A*'), pg_typeof(cCount('a', '|'));
SELECT cRomanToArabic('MCMXCIV'), cRomanToArabic('mmmm'), cRomanToArabic('');

-- The Variant argument: a whole number, a double, or text.
SELECT cArabicToRoman(1994), cArabicToRoman(1994::bigint), cArabicToRoman(3.5::float8),
       cArabicToRoman(2.5), cArabicToRoman(' 12 '), cArabicToRoman('&HFF'),
       cArabicToRoman(4294967297), cArabicToRoman('\x313030'::bytea);

-- In-place functions give the text they changed.
SELECT cChangeChars('hello world', 'lo', '01x'), cChangeCharsUntil('a.b.c;d.e', '.', '-', ';'),
       cFill('abcdefg', 'xy'), cCnvASCIItoEBCDIC('A0 a'::bytea), cCnvEBCDICtoASCII('\xc1f04081'::bytea);

-- Long and Integer arguments: in the Basic type's range, else an error that
-- names the function and the argument.
SELECT cGetIn('a|b', '|', 2147483647);
SELECT cGetIn('a|b', '|', -2147483648);
SELECT cGetIn('a|b', '|', 2147483648);
SELECT cGetIn('a|b', '|', -2147483649);
SELECT cAlign('ab', 32767, 5);
SELECT cAlign('ab', 32768, 5);
SELECT cAlign('ab', -32769, 5);
SELECT cStringSAR('aZ Az', 'Z', 'x', 99999);
-- SQL's own types refuse the rest: a fraction, text that is no number.
SELECT cGetIn('a|b', '|', 1.5);
SELECT cGetIn('a|b', '|', 'two');
SELECT cGetIn('a|b', '|', '2');

-- A text result must be valid in the database's encoding; the bytea form
-- gives any bytes.
SELECT cFromHexa('FF');
SELECT cFromHexa('00');
SELECT cFromHexa('FF'::bytea), cFromHexa('00'::bytea);
SELECT cReverse('é');
SELECT cReverse(convert_to('é', 'UTF8'));
SELECT cCnvASCIItoEBCDIC('a');

-- The default separator is the connection's: cSetDefaultSeparator sets it
-- (a non-empty argument, its first byte), cGet reads it.
SELECT cGet('a|b;c', 2);
SELECT cSetDefaultSeparator(';,');
SELECT cGet('a|b;c', 2);
SELECT cSetDefaultSeparator('');
SELECT cGet('a|b;c', 2);
SELECT cSetDefaultSeparator('|'::bytea);
SELECT cGet('a|b;c'::bytea, 2);

-- cMixChars shuffles: the same bytes in some order.
SELECT length(cMixChars('abcdef')) AS n,
       (SELECT string_agg(c, '' ORDER BY c) FROM regexp_split_to_table(cMixChars('abcdef'), '') c) AS sorted;

-- A C function declared by hand with other arguments is refused, never
-- read past its arguments.
CREATE FUNCTION pg_temp.short_get(text) RETURNS text
  AS '$libdir/twinekit', 'twinekit_cGetIn_text' LANGUAGE C STRICT;
SELECT pg_temp.short_get('a|b');
