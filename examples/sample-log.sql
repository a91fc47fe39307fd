-- A small contest log as a logging program keeps it: one row per QSO, with
-- the columns the plug-in reads and a few it does not.
CREATE TABLE LOG (
  QSOID INTEGER PRIMARY KEY,
  QSODateTime TEXT,
  CallSign TEXT NOT NULL,
  DigiBand TEXT,
  QSOMode TEXT,
  QSOReportSent TEXT,
  QSOReportRecived TEXT,
  DXCCPrefix TEXT,
  MainPrefix TEXT,
  Continent TEXT,
  ITUZone INTEGER
);
INSERT INTO LOG (QSODateTime, CallSign, DigiBand, QSOMode, QSOReportSent, QSOReportRecived,
                 DXCCPrefix, MainPrefix, Continent, ITUZone) VALUES
  ('2026-11-21 12:00', 'DL1ABC', '20M', 'CW', '599 001', '599 EU-005', 'DL', 'DL', 'eu', 28),
  ('2026-11-21 12:02', 'OK1XYZ', '20M', 'CW', '599 002', '599 EU-012', 'OK', 'OK', 'eu', 28),
  ('2026-11-21 12:05', 'JA1AAA', '20M', 'CW', '599 003', '599 AS-007', 'JA', 'JA', 'as', 45),
  ('2026-11-21 12:09', 'W1AW', '20M', 'SSB', '59 004', '59 NA-001', 'K', 'W', 'na', 8),
  ('2026-11-21 12:11', 'dl1abc', '20M', 'CW', '599 005', '599 EU-005', 'DL', 'DL', 'eu', 28),
  ('2026-11-21 12:15', 'PY2ZZ', '20M', 'CW', '599 006', '599 021', 'PY', 'PY', 'sa', 15),
  ('2026-11-21 12:20', 'DL1ABC', '20M', 'CW', '599 007', '599 EU-005', 'DL', 'DL', 'eu', 28),
  ('2026-11-21 13:01', 'DL1ABC', '40M', 'CW', '599 008', '599 EU-005', 'DL', 'DL', 'eu', 28),
  ('2026-11-21 13:04', 'VK2AB', '40M', 'CW', '599 009', '599 OC-001', 'VK', 'VK', 'oc', 59),
  ('2026-11-21 13:08', 'KC4AAA', '40M', 'CW', '599 010', '599 AN-016', 'KC4', 'KC4', 'an', 67),
  ('2026-11-21 13:12', 'ZS6XX', '40M', 'SSB', '59 011', '59 AF-022', 'ZS', 'ZS', 'af', 57),
  ('2026-11-21 13:20', 'G4ABC', '40M', 'SSB', '59 012', NULL, 'G', 'G', 'eu', 27),
  ('2026-11-21 14:00', 'SP5AAA', '80M', 'CW', '599 013', '599 59001', 'SP', 'SP', 'eu', 28),
  ('2026-11-21 14:03', 'HA5XX', '80M', 'CW', '599 014', '599 eu-043', 'HA', 'HA', 'eu', 28);
