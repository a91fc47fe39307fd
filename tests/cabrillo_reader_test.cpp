// The Cabrillo reader over hand-written logs: where the worked callsign and
// the received exchange stand, in the layouts of real loggers and in
// generated lines, the band of each frequency or designator, each faulty QSO
// line that costs exactly one record, and a file cut off in its last line.
#include "import/cabrillo_reader.h"
#include "tests/qso_time_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "import/bands.h"
#include "import/cabrillo_layout.h"
#include "tests/import_support.h"

namespace orva::import {
namespace {

using test::Qsos;
using test::Skipped;

const std::string kGood = "QSO: 7010 CW 2026-11-21 1304 OR1VA 599 009 VK2AB 599 OC-001\n";
const std::string kNoWorkedCall =
    "no word after the sent callsign and exchange is shaped as a callsign (letters and digits, "
    "a letter last, as DL1ABC or PA/DL1ABC/P): check the worked callsign on this line";

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

// The band table lists the bands by rising frequency; the order the summary
// lists bands in, read from their names, must agree with it.
TEST(BandOrder, AgreesWithTheBandTablesFrequencies) {
  std::vector<std::string_view> bands;
  for (std::uint64_t hertz = 100'000; hertz < 8'000 * import::kHertzPerMegahertz * 1'000;
       hertz += hertz / 1'000) {
    const std::optional<std::string_view> band = import::BandOfFrequency(hertz);
    if (band && (bands.empty() || bands.back() != *band)) {
      bands.push_back(*band);
    }
  }
  EXPECT_EQ(bands.size(), 33u);
  EXPECT_TRUE(std::is_sorted(bands.begin(), bands.end(), import::BandBefore));
}

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
        BadLine{"QSO: 7010 CW 2026-11-21 1304 OR1VA 599 009 599 OC-001", kNoWorkedCall},
        // Only words shaped as no callsign, or the sent callsign again.
        BadLine{"QSO: 7010 CW 2026-11-21 1304 OR1VA 599 HANS/124 599VANNI164 EU-005 NM",
                kNoWorkedCall},
        BadLine{"QSO: 7010 CW 2026-11-21 1304 OR1VA 599 009 or1va 599 OC-001", kNoWorkedCall},
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
        // The sent and the received exchange of different lengths.
        GuessedLine{"QSO: 7010 CW 2026-11-21 1304 OR1VA 599 VK2AB", "VK2AB 40M CW|",
                    "2 fields short of the log's other lines: read with the last 2 received "
                    "fields empty"},
        // A lone digit at the end is no transmitter number in a log without them.
        GuessedLine{"QSO: 7010 CW 2026-11-21 1304 OR1VA 599 1 VK2AB 1", "VK2AB 40M CW|1",
                    "one field short of the log's other lines: read with the last received "
                    "field empty"}));

// Logs of one QSO party as five loggers write them, each in its own fixed
// columns: the sent and the received exchange of different lengths, names,
// club numbers, and words that look like callsigns but are none.
struct PartyLog {
  std::string name;
  std::string lines;  // after "QSO: "
  std::vector<std::string> qsos;
};

class CabrilloPartyLog : public testing::TestWithParam<PartyLog> {};

TEST_P(CabrilloPartyLog, ReadsEveryLineWithItsWorkedStation) {
  std::string log = "START-OF-LOG: 3.0\nCALLSIGN: OR1VA\n";
  std::string_view lines = GetParam().lines;
  while (!lines.empty()) {
    const std::size_t end = lines.find('\n');
    log += "QSO: " + std::string(lines.substr(0, end)) + "\n";
    lines.remove_prefix(end + 1);
  }
  const ImportedLog read = ReadCabrillo(log + "END-OF-LOG:\n");
  EXPECT_EQ(Skipped(read), std::vector<std::string>{});
  EXPECT_EQ(Qsos(read), GetParam().qsos);
}

INSTANTIATE_TEST_SUITE_P(
    Loggers, CabrilloPartyLog,
    testing::Values(
        PartyLog{"NameAndMembership",
                 " 3531 CW 2024-03-21 1909 OR1VA    599  NM          DL2XYZ    599  KARL   NM\n"
                 " 3533 CW 2024-03-21 1912 OR1VA    599  NM          F5ABC     599  LUC    44\n"
                 " 3535 CW 2024-03-21 1915 OR1VA    599  NM          sp9qrs    599  JAN    NM\n"
                 // A lone digit that ends the exchange, in a log without transmitter numbers.
                 " 7021 CW 2024-03-21 1920 OR1VA    599  NM          HB9TUV    599  URS    5\n",
                 {"DL2XYZ 80M CW|599 KARL NM", "F5ABC 80M CW|599 LUC 44",
                  "SP9QRS 80M CW|599 JAN NM", "HB9TUV 40M CW|599 URS 5"}},
        PartyLog{"LongerSentExchange",
                 " 7035 CW 2024-03-21 1903 OR1VA    599  PIET NTC 76  F5ABC     599  LUC    44\n"
                 " 7036 CW 2024-03-21 1905 OR1VA    599  PIET NTC 76  S51DEF    599  MARKO  12\n"
                 " 7031 CW 2024-03-21 1908 OR1VA    599  PIET NTC 76  OH2LMN/P  599  PEKKA  NM\n"
                 " 7033 CW 2024-03-21 1911 OR1VA    599  PIET NTC 76  EA/DL2XYZ 599  KARL   101\n",
                 {"F5ABC 40M CW|599 LUC 44", "S51DEF 40M CW|599 MARKO 12",
                  "OH2LMN/P 40M CW|599 PEKKA NM", "EA/DL2XYZ 40M CW|599 KARL 101"}},
        PartyLog{"NameSlashNumber",
                 " 7033 CW 2024-03-21 1902 OR1VA    599 PIET/124     DL2XYZ    599 KARL /216\n"
                 " 7034 CW 2024-03-21 1904 OR1VA    599 PIET/124     YO4GHI    599 DAN /17\n"
                 " 7030 CW 2024-03-21 1907 OR1VA    599 PIET/124     SP9QRS    599 JAN/9\n"
                 " 7032 CW 2024-03-21 1910 OR1VA    599 PIET/124     F5ABC     599 LUC NM\n",
                 {"DL2XYZ 40M CW|599 KARL /216", "YO4GHI 40M CW|599 DAN /17",
                  "SP9QRS 40M CW|599 JAN/9", "F5ABC 40M CW|599 LUC NM"}},
        PartyLog{
            "ReportNameAndNumberRunTogether",
            "14057 CW 2024-03-21 1901 OR1VA    599 599PIET124 HB9TUV     599 URS 154\n"
            "14058 CW 2024-03-21 1903 OR1VA    599 599PIET124 DL2XYZ     599 KARL 77\n"
            "14052 CW 2024-03-21 1906 OR1VA    599 599PIET124 F5ABC      599 LUC 44\n",
            {"HB9TUV 20M CW|599 URS 154", "DL2XYZ 20M CW|599 KARL 77", "F5ABC 20M CW|599 LUC 44"}},
        PartyLog{
            "NameAndNumber",
            "14000 CW 2024-03-21 1906 OR1VA    599 PIET     F5ABC     599 LUC 164\n"
            "14002 CW 2024-03-21 1909 OR1VA    599 PIET     DL2XYZ    599 KARL 77\n"
            "14004 CW 2024-03-21 1913 OR1VA    599 PIET     4X1AB     599 DOV 12\n",
            {"F5ABC 20M CW|599 LUC 164", "DL2XYZ 20M CW|599 KARL 77", "4X1AB 20M CW|599 DOV 12"}},
        // A sent locator is callsign-shaped, but it repeats on every line; a
        // line that mistypes it still has its worked callsign in the log's
        // column.
        PartyLog{"SentLocator",
                 "144 CW 2024-03-21 1900 OR1VA 599 001 JO21QX DL2XYZ   599 017 JO30AB\n"
                 "144 CW 2024-03-21 1905 OR1VA 599 002 JO21QX F5ABC    599 102 JN18AA\n"
                 "144 CW 2024-03-21 1910 OR1VA 599 003 JO21QY PA3QRS   599 044 JO22BB\n"
                 "144 CW 2024-03-21 1915 OR1VA 599 004 JO21QX ON4TUV   599 008 JO20CC\n",
                 {"DL2XYZ 2M CW|599 017 JO30AB", "F5ABC 2M CW|599 102 JN18AA",
                  "PA3QRS 2M CW|599 044 JO22BB", "ON4TUV 2M CW|599 008 JO20CC"}}),
    [](const testing::TestParamInfo<PartyLog>& info) { return info.param.name; });

// The fifth logger writes a remark after some exchanges: read as the
// exchange, it would score nothing; read as the layout's fields, its report
// would become the station, of which every later one is a duplicate.
TEST(CabrilloReader, LeavesATrailingRemarkOutOfTheExchange) {
  const char* const kLines[][2] = {
      {"HB9TUV", "599 NTC 154   2 POINTS"}, {"DL2XYZ", "599 KARL 77"},
      {"F5ABC", "599 NTC 44    2 POINTS"},  {"S51DEF", "599 MARKO 12"},
      {"SP9QRS", "599 NTC 9     2 POINTS"}, {"OH2LMN", "599 PEKKA 310"},
      {"EA7JKL", "599 NTC 101   2 POINTS"}, {"YO4GHI", "599 DAN 17"},
      {"4X1AB", "599 NTC 62    2 POINTS"},  {"PA3QRS", "599 KEES 88"},
      {"ON4TUV", "599 NTC 18    2 POINTS"}, {"G4ABC", "599 JOHN 5"},
      {"I5ZZZ", "599 VANNI 164"},
  };
  std::string log = "CALLSIGN: OR1VA\n";
  std::set<std::string> stations;
  for (const auto& [call, exchange] : kLines) {
    log += "QSO: 14057 CW 2024-03-21 1901 OR1VA         599 599PIET124 " + std::string(call) +
           std::string(15 - std::strlen(call), ' ') + exchange + "\n";
    stations.insert(call);
  }
  const ImportedLog read = ReadCabrillo(log);
  EXPECT_EQ(Skipped(read), std::vector<std::string>{});
  ASSERT_EQ(read.qsos.size(), std::size(kLines));
  for (const ImportedQso& qso : read.qsos) {
    stations.erase(qso.CallSign);
  }
  EXPECT_EQ(stations, std::set<std::string>{});
  EXPECT_EQ(Qsos(read)[0], "HB9TUV 20M CW|599 NTC 154");
  ASSERT_EQ(read.noted.size(), 6u);
  EXPECT_EQ(read.noted[0].note,
            "line 2: '2 POINTS' after the received exchange is taken for a remark and left out: "
            "most of the log's lines hold 3 fields after the worked callsign");
}

TEST(CabrilloReader, NeverTakesTheStationsOwnCallsignsForTheWorkedOne) {
  const ImportedLog log = ReadCabrillo(
      "CALLSIGN: OR1VA\nOPERATORS: OR2ZZ, @OR3YY\n"
      "QSO: 7010 CW 2026-11-21 1304 OR1VA 599 OR2ZZ DL2XYZ 599 12\n"
      "QSO: 7010 CW 2026-11-21 1305 OR1VA 599 or3yy F5ABC 599 13\n"
      "QSO: 7010 CW 2026-11-21 1306 OR3YY 599 or1va SP9QRS 599 14\n"
      "QSO: 7010 CW 2026-11-21 1307 OR1VA 599 OR2ZZ OR1VA 599 15\n");
  EXPECT_EQ(Qsos(log), std::vector<std::string>({"DL2XYZ 40M CW|599 12", "F5ABC 40M CW|599 13",
                                                 "SP9QRS 40M CW|599 14"}));
  EXPECT_EQ(Skipped(log), std::vector<std::string>{"4: line 6: " + kNoWorkedCall});
}

TEST(CabrilloReader, TakesOnlyCallsignShapedWordsForCallsigns) {
  for (const char* call : {"DL1ABC", "dl1abc", "PA/DL1ABC", "DL1ABC/P", "OH0/DL1ABC/P", "W1AW/KH6",
                           "KH6/W1AW", "4X1AB", "I5ZZZ", "3DA0RS", "JO21QX"}) {
    EXPECT_TRUE(IsCallsignShaped(call)) << call;
  }
  for (const char* word : {"", "599", "NM", "HANS/124", "599VANNI164", "EU-005", "CAREL", "/216",
                           "DL1ABC/", "DL/P", "1A", "DL1ABC?", "A/B/C/DL1ABC", "DL1AB\xC4"}) {
    EXPECT_FALSE(IsCallsignShaped(word)) << word;
  }
}

// Logs made of lines whose words are drawn from the layouts seen, of every
// kind a line may hold; only the worked word may be callsign-shaped, and
// where it is not the line is left out.
TEST(CabrilloReader, ReadsEveryGeneratedLineAsItsWorkedCallsignOrLeavesItOut) {
  const std::vector<std::string> sent = {
      "599 NM",   "599 CAREL NTC 76", "599 HANS/124", "599 599VANNI164",
      "599 KOOS", "599 001",          "59 EU-005",    ""};
  const std::vector<std::string> worked = {"DL2XYZ", "f5abc", "PA/DL2XYZ", "OH2LMN/P", "4X1AB",
                                           "I5ZZZ",  "NTC",   "599",       "HANS/124", "EU-005"};
  const std::vector<std::string> received = {"599 THOR NM",     "599 JEAN 44",
                                             "599 ZDENEK /216", "599 NTC 154   2 POINTS",
                                             "599 VANNI 164",   "",
                                             "599 EU-005 0",    "5",
                                             "599 599VANNI164"};
  std::mt19937 random(25);
  const auto pick = [&random](const std::vector<std::string>& words) {
    return words[std::uniform_int_distribution<std::size_t>(0, words.size() - 1)(random)];
  };
  for (int round = 0; round < 300; ++round) {
    std::string log = "CALLSIGN: OR1VA\n";
    std::vector<std::string> expected;
    const std::string exchange = pick(sent);
    const std::size_t lines = std::uniform_int_distribution<std::size_t>(1, 12)(random);
    for (std::size_t line = 0; line < lines; ++line) {
      const std::string call = pick(worked);
      log += "QSO: 14025 CW 2026-11-21 1200 OR1VA " + exchange + " " + call + " " + pick(received) +
             "\n";
      if (IsCallsignShaped(call)) {
        expected.push_back(UpperAscii(call));
      }
    }
    const ImportedLog read = ReadCabrillo(log);
    std::vector<std::string> calls;
    for (const ImportedQso& qso : read.qsos) {
      EXPECT_NE(qso.CallSign.find_first_of("0123456789"), std::string::npos) << log;
      EXPECT_NE(qso.CallSign.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos);
      calls.push_back(qso.CallSign);
    }
    EXPECT_EQ(calls, expected) << log;
    EXPECT_EQ(read.qsos.size() + read.skipped.size(), lines) << log;
  }
}

struct CutLog {
  std::string end;  // after two good lines
  std::size_t qsos;
  std::string remark;  // "" for none
};

class CabrilloCutLog : public testing::TestWithParam<CutLog> {};

// A file cut off in its last line is told as such, and costs no skipped
// record: every whole line of it was read.
TEST_P(CabrilloCutLog, IsNamedAsCutOff) {
  const ImportedLog log = ReadCabrillo("START-OF-LOG: 3.0\n" + kGood + kGood + GetParam().end);
  EXPECT_EQ(Skipped(log), std::vector<std::string>{});
  EXPECT_EQ(log.qsos.size(), GetParam().qsos);
  EXPECT_EQ(log.remarks, GetParam().remark.empty() ? std::vector<std::string>{}
                                                   : std::vector<std::string>{GetParam().remark});
}

const std::string kCutOff =
    "the log ends without END-OF-LOG: and its last line, line 4, is cut off";

INSTANTIATE_TEST_SUITE_P(
    Ends, CabrilloCutLog,
    testing::Values(
        CutLog{"QSO: 7010 CW 2026-11-21 13", 2,
               kCutOff + ": left out, as a QSO line needs frequency, mode, date, time and two "
                         "callsigns; export the log again to score it"},
        CutLog{"QSO: 7010 CW 2026-11-21 1304 OR1VA 599 009 VK2AB 599 OC-0", 3,
               kCutOff + ": its QSO is read as far as it goes; check it, or export the log again"},
        CutLog{"END-OF-L", 2, kCutOff + ": export the log again if QSOs are missing"},
        // Whole lines, with or without END-OF-LOG:, are no cut.
        CutLog{"END-OF-LOG:", 2, ""}, CutLog{"SOAPBOX: 73\r\n", 2, ""}, CutLog{"   ", 2, ""}));

TEST(CabrilloReader, ReadsAnEmptyFileAsNoQsoAndNoFault) {
  for (const std::string empty : {"", "\xEF\xBB\xBF", "\n\n"}) {
    const ImportedLog log = ReadCabrillo(empty);
    EXPECT_EQ(std::vector<std::size_t>(
                  {log.qsos.size(), log.skipped.size(), log.noted.size(), log.remarks.size()}),
              std::vector<std::size_t>({0, 0, 0, 0}));
    EXPECT_EQ(log.unreadable, "");
  }
}

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
  const auto [date, time] = orva::test::Texts(log.qsos[0].when);
  EXPECT_EQ(std::vector<std::string>({std::to_string(log.qsos[0].record), date, time}),
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
