-- Sums the code lines per language.
counts = LOAD 'counts.csv' USING PigStorage(',')
    AS (path:chararray, lang:chararray, code:int);

/* Group by language,

   then sum. */
by_lang = GROUP counts BY lang;
totals = FOREACH by_lang GENERATE group, SUM(counts.code); -- per language
STORE totals INTO 'out/--totals';
