-- Texts an explanation must keep on one line: a backslash, a tab, a line
-- break and a delete character, in callsigns and exchanges.
CREATE TABLE LOG (
  CallSign TEXT, DigiBand TEXT, QSOMode TEXT, QSOReportRecived TEXT,
  DXCCPrefix TEXT, MainPrefix TEXT, Continent TEXT, ITUZone TEXT
);
INSERT INTO LOG VALUES
  ('DL1ABC', '20M', 'CW', '599' || char(9) || 'EU-005', '', '', '', ''),
  ('G3\AA', '20M', 'CW', 'no' || char(10) || 'ref\', '', '', '', ''),
  ('OK1XYZ', '40M', 'CW', '599 ' || char(127) || ' EU-012', '', '', '', '');
