// The Cabrillo reader over hand-written logs: where the worked callsign and
// the received exchange stand, the band of each frequency or designator, and
// each faulty QSO line that costs exactly one record.
#include "import/cabrillo_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/bands.h"
#include "tests/native/import_support.h"

namespace orva::import {
namespace {

using test::Qsos;
using test::Skipped;

const std::string kGood = "QSO: 7010 CW 2026-11-21 1304 OR1VA 599 009 VK2AB 599 OC-001\n";

TEST(CabrilloReader, ReadsTheQsoLinesOfTheSample) {
  const ImportedLog log = ReadCabrillo(test::SampleFile("sample.log"));
  EXPECT_TRUE(log.unreadable.empty());
  EXPECT_EQ(Skipped(log), std::vector<std::string>{});
  const std::vector<std::string> qsos = Qsos(log);
  ASSERT_EQ(qsos.size(), 14u);  // no X-QSO: line, nothing after END-OF-LOG:
  EXPECT_EQ(qsos[0], "DL1ABC 20M CW|599 EU-005");
  EXPECT_EQ(qsos[3], "W1AW 20M SSB|59 NA-001");    // phone
  EXPECT_EQ(qsos[5], "PY2ZZ 20M CW|599 021");      // mode in lower case
  EXPECT_EQ(qsos[7], "DL1ABC 40M CW|599 EU-005");  // fields between tabs
  EXPECT_EQ(qsos[8], "VK2AB 40M CW|599 OC-001");   // transmitter number at the end
  EXPECT_EQ(qsos[13], "HA5XX 80M CW|599 eu-043");
}

struct Layout {
  std::string fields;  // after the time
  std::string qso;
};

class CabrilloLayout : public testing::TestWithParam<Layout> {};

TEST_P(CabrilloLayout, FindsTheWorkedCallAndTheExchangeAfterIt) {
  const ImportedLog log = ReadCabrillo("QSO: 14025 CW 2026-11-21 1200 " + GetParam().fields);
  EXPECT_EQ(Skipped(log), std::vector<std::string>{});
  EXPECT_EQ(Qsos(log), std::vector<std::string>{GetParam().qso});
}

INSTANTIATE_TEST_SUITE_P(
    Exchanges, CabrilloLayout,
    testing::Values(Layout{"OR1VA DL1ABC", "DL1ABC 20M CW|"},
                    Layout{"OR1VA DL1ABC 1", "DL1ABC 20M CW|"},
                    Layout{"OR1VA 001 DL1ABC EU-005", "DL1ABC 20M CW|EU-005"},
                    Layout{"OR1VA 599 001 DL1ABC 599 EU-005 0", "DL1ABC 20M CW|599 EU-005"},
                    Layout{"OR1VA 599 14 001 DL1ABC 599 28 EU-005", "DL1ABC 20M CW|599 28 EU-005"},
                    Layout{"OR1VA  599\t001   DL1ABC 599   EU-005  \r\n",
                           "DL1ABC 20M CW|599 EU-005"},
                    // Hyphens alone stand for a field not given.
                    Layout{"OR1VA 599 001 ------ DL1ABC 599 012 ------", "DL1ABC 20M CW|599 012"},
                    Layout{"OR1VA 599 001 --- DL1ABC 599 --- EU-005", "DL1ABC 20M CW|599 EU-005"},
                    Layout{"OR1VA 599 001 DL1ABC 599 EU-0-5", "DL1ABC 20M CW|599 EU-0-5"}));

struct Frequency {
  std::string given;
  std::string band;  // "" for none
};

class CabrilloBand : public testing::TestWithParam<Frequency> {};

TEST_P(CabrilloBand, ComesFromTheFrequencyInKilohertzOrTheDesignator) {
  const ImportedLog log =
      ReadCabrillo("QSO: " + GetParam().given + " CW 2026-11-21 1200 OR1VA 599 DL1ABC 599");
  const std::string band = log.qsos.empty() ? "" : log.qsos[0].DigiBand;
  EXPECT_EQ(band, GetParam().band);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, CabrilloBand,
    testing::Values(Frequency{"1800", "160M"}, Frequency{"1799", ""}, Frequency{"3500", "80M"},
                    Frequency{"5354", "60M"}, Frequency{"7000", "40M"}, Frequency{"7299.9", "40M"},
                    Frequency{"7301", ""}, Frequency{"10120", "30M"}, Frequency{"14350", "20M"},
                    Frequency{"14350.001", ""}, Frequency{"18100", "17M"},
                    Frequency{"21000", "15M"}, Frequency{"24900", "12M"}, Frequency{"28500", "10M"},
                    Frequency{"50", "6M"}, Frequency{"50125", "6M"}, Frequency{"70", "4M"},
                    Frequency{"144", "2M"}, Frequency{"222", "1.25M"}, Frequency{"432", "70CM"},
                    Frequency{"902", "33CM"}, Frequency{"1.2G", "23CM"}, Frequency{"2.3g", "13CM"},
                    Frequency{"10G", "3CM"}, Frequency{"24G", "1.25CM"}, Frequency{"241G", "1MM"},
                    Frequency{"LIGHT", "LIGHT"}, Frequency{"14.025", ""}, Frequency{"14k", ""},
                    Frequency{"99999999999999999999", ""}));

struct BadLine {
  std::string line;
  std::string reason;
};

class CabrilloBadLine : public testing::TestWithParam<BadLine> {};

// The bad line stands between two good ones and a header line, so the test
// sees the numbering of records and of lines go on.
TEST_P(CabrilloBadLine, IsLeftOutAloneWithItsReason) {
  const ImportedLog log =
      ReadCabrillo("START-OF-LOG: 3.0\n" + kGood + GetParam().line + "\n" + kGood);
  EXPECT_EQ(Skipped(log), std::vector<std::string>{"2: line 3: " + GetParam().reason});
  EXPECT_EQ(log.qsos.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CabrilloBadLine,
    testing::Values(
        BadLine{"QSO:", "a QSO line needs frequency, mode, date, time and two callsigns"},
        BadLine{"QSO: 7010 CW 2026-11-21 1304 OR1VA",
                "a QSO line needs frequency, mode, date, time and two callsigns"},
        BadLine{"QSO: 7400 CW 2026-11-21 1304 OR1VA VK2AB", "unknown band or frequency '7400'"},
        BadLine{"QSO: 7010 CW 2026-11-21 1304 OR1VA 599 VK2AB",
                "the sent and the received exchange differ in length, so the worked callsign "
                "cannot be told"},
        BadLine{"qso: \x1b[2J CW 2026-11-21 1304 OR1VA VK2AB",
                "unknown band or frequency '?[2J'"}));

struct GuessedLine {
  std::string line;
  std::string qso;
  std::string note;
};

class CabrilloGuessedLine : public testing::TestWithParam<GuessedLine> {};

// Read between two good lines, with what was assumed noted.
TEST_P(CabrilloGuessedLine, IsReadAndNoted) {
  const ImportedLog log = ReadCabrillo(kGood + GetParam().line + "\n" + kGood);
  EXPECT_EQ(Skipped(log), std::vector<std::string>{});
  ASSERT_EQ(log.qsos.size(), 3u);
  EXPECT_EQ(Qsos(log)[1], GetParam().qso);
  ASSERT_EQ(log.noted.size(), 1u);
  EXPECT_EQ(std::to_string(log.noted[0].record) + ": " + log.noted[0].note,
            "2: line 2: " + GetParam().note);
}

INSTANTIATE_TEST_SUITE_P(
    Guesses, CabrilloGuessedLine,
    testing::Values(
        GuessedLine{"QSO: 7010 CW 21-11-2026 1304 OR1VA VK2AB", "VK2AB 40M CW|",
                    "the date and time '21-11-2026 1304' are not YYYY-MM-DD HHMM: read "
                    "without them"},
        GuessedLine{"QSO: 7010 CW 2026-11-21 13:04 OR1VA VK2AB", "VK2AB 40M CW|",
                    "the date and time '2026-11-21 13:04' are not YYYY-MM-DD HHMM: read "
                    "without them"},
        GuessedLine{"QSO: 7010 CW 2026-11-21 1304 OR1VA 599 009 vk2ab 599", "VK2AB 40M CW|599",
                    "one field short of the log's other lines: read with the last received "
                    "field empty"},
        // A lone digit at the end is no transmitter number in a log without them.
        GuessedLine{"QSO: 7010 CW 2026-11-21 1304 OR1VA 599 1 VK2AB 1", "VK2AB 40M CW|1",
                    "one field short of the log's other lines: read with the last received "
                    "field empty"}));

TEST(CabrilloReader, ReadsEveryModeWordWithTheSidebandsAsSsb) {
  const ImportedLog log = ReadCabrillo(
      "QSO: 7150 PH 2026-11-21 1200 OR1VA G4ABC\nQSO: 7150 SSB 2026-11-21 1201 OR1VA G4ABD\n"
      "QSO: 7150 usb 2026-11-21 1202 OR1VA G4ABE\nQSO: 7150 LSB 2026-11-21 1203 OR1VA G4ABF\n"
      "QSO: 7050 ry 2026-11-21 1204 OR1VA G4ABG\nQSO: 7074 ft8 2026-11-21 1205 OR1VA G4ABH\n");
  EXPECT_EQ(Qsos(log),
            std::vector<std::string>({"G4ABC 40M SSB|", "G4ABD 40M SSB|", "G4ABE 40M SSB|",
                                      "G4ABF 40M SSB|", "G4ABG 40M RTTY|", "G4ABH 40M FT8|"}));
}

TEST(CabrilloReader, KeepsEachQsosRecordDateAndTime) {
  const ImportedLog log = ReadCabrillo("QSO:\n" + kGood);
  ASSERT_EQ(log.qsos.size(), 1u);
  EXPECT_EQ(std::vector<std::string>(
                {std::to_string(log.qsos[0].record), log.qsos[0].date, log.qsos[0].time}),
            std::vector<std::string>({"2", "2026-11-21", "13:04"}));
}

TEST(CabrilloReader, TakesOnlyQsoLinesUpToTheEndOfTheLog) {
  const ImportedLog log = ReadCabrillo(
      "\xEF\xBB\xBFSTART-OF-LOG: 3.0\rCALLSIGN: OR1VA\r\n"
      "X-QSO: 7010 CW 2026-11-21 1304 OR1VA 599 009 W1AW 599 NA-001\r" +
      kGood + "SOAPBOX: QSO: 7010 CW 2026-11-21 1304 OR1VA 599 009 W1AW 599 NA-001\n" +
      "END-OF-LOG:\n" + kGood);
  EXPECT_EQ(Qsos(log), std::vector<std::string>{"VK2AB 40M CW|599 OC-001"});
  EXPECT_TRUE(ReadCabrillo("").qsos.empty());
}

TEST(CabrilloReader, RefusesUtf16FilesWhole) {
  std::string utf16 = "\xFE\xFF";
  for (const char c : kGood) {
    utf16 += {'\0', c};
  }
  EXPECT_NE(ReadCabrillo(utf16).unreadable, "");
  EXPECT_NE(ReadCabrillo(utf16.substr(2)).unreadable, "");
}

TEST(Bands, NamesAreCanonicalInUpperCase) {
  EXPECT_EQ(BandOfName("20m").value_or(""), "20M");
  EXPECT_EQ(BandOfName("1.25Cm").value_or(""), "1.25CM");
  EXPECT_EQ(BandOfName("submm").value_or(""), "SUBMM");
  EXPECT_FALSE(BandOfName("20 m"));
  EXPECT_EQ(ParseFrequency("14.0255", kHertzPerMegahertz).value_or(0), 14'025'500u);
  EXPECT_EQ(ParseFrequency(".5", kHertzPerKilohertz).value_or(0), 500u);
  EXPECT_EQ(ParseFrequency("7.1234567", kHertzPerMegahertz).value_or(0), 7'123'456u);
  for (const char* bad : {"", ".", "1.2.3", "-7", "7 ", "99999999999999"}) {
    EXPECT_FALSE(ParseFrequency(bad, kHertzPerMegahertz)) << bad;
  }
}

}  // namespace
}  // namespace orva::import
