-- A generated log of 10,000 QSOs for checking that the explanation adds up
-- to the report: repeated callsigns on several bands and modes (duplicates),
-- continent and other references, serials, and exchanges without any.
CREATE TABLE LOG (
  CallSign TEXT, DigiBand TEXT, QSOMode TEXT, QSOReportRecived TEXT,
  DXCCPrefix TEXT, MainPrefix TEXT, Continent TEXT, ITUZone TEXT
);
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 9999)
INSERT INTO LOG
SELECT 'K' || (i % 2000) || 'X',
       CASE i % 4 WHEN 0 THEN '20M' WHEN 1 THEN '40M' WHEN 2 THEN '15M' ELSE '80m' END,
       CASE i % 3 WHEN 0 THEN 'CW' WHEN 1 THEN 'SSB' ELSE 'cw' END,
       CASE i % 5
         WHEN 0 THEN '599 ' || substr('EUASSANAAFOCANXX', 1 + 2 * (i % 8), 2) || '-'
                    || printf('%03d', i % 97)
         WHEN 1 THEN '599 ' || printf('%03d', i % 1000)
         WHEN 2 THEN 'eu-' || printf('%03d', i % 41)
         WHEN 3 THEN ''
         ELSE '59 ' || (i % 7) || 'OC-0' || (i % 10)
       END,
       '', '', '', ''
FROM n;
