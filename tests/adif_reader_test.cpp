// The ADI reader over hand-written logs: the fields it maps, the freedoms of
// the format it must accept, each fault that costs exactly one record, and
// the lengths written too long that cost none.
#include "import/adif_reader.h"
#include "tests/qso_time_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/import_support.h"

namespace orva::import {
namespace {

using test::Qsos;
using test::Skipped;
using namespace std::string_literals;

const std::string kGood = "<CALL:5>G4ABC <BAND:3>40m <MODE:3>SSB <SRX_STRING:9>59 EU-001 <EOR>\n";
const std::string kGoodQso = "G4ABC 40M SSB|59 EU-001";

// "N: note" for each record read with a note.
std::vector<std::string> Noted(const ImportedLog& log) {
  std::vector<std::string> noted;
  for (const NotedRecord& record : log.noted) {
    noted.push_back(std::to_string(record.record) + ": " + record.note);
  }
  return noted;
}

TEST(AdifReader, MapsEveryColumnOfTheSample) {
  const ImportedLog log = ReadAdif(test::SampleFile("sample.adi"));
  EXPECT_TRUE(log.unreadable.empty());
  EXPECT_EQ(Skipped(log), std::vector<std::string>{});
  ASSERT_EQ(log.qsos.size(), 14u);
  const ImportedQso& first = log.qsos[0];
  EXPECT_EQ(std::vector<std::string>({first.CallSign, first.DigiBand, first.QSOMode,
                                      first.QSOReportRecived, first.DXCCPrefix, first.MainPrefix,
                                      first.Continent, first.ITUZone}),
            std::vector<std::string>({"DL1ABC", "20M", "CW", "599 EU-005", "", "DL", "EU", "28"}));
  const std::vector<std::string> qsos = Qsos(log);
  EXPECT_EQ(qsos[1], "OK1XYZ 20M CW|599 EU-012");  // lower-case names and mode
  EXPECT_EQ(qsos[2], "JA1AAA 20M CW|599 AS-007");  // type indicators, FREQ for BAND
  EXPECT_EQ(qsos[3], "W1AW 20M SSB|59 NA-001");    // <EOR> inside other data
  EXPECT_EQ(qsos[4], "DL1ABC 20M CW|599 EU-005");  // the callsign in upper case
  EXPECT_EQ(qsos[5], "PY2ZZ 20M CW|021");          // SRX for an empty SRX_STRING
  EXPECT_EQ(qsos[8], "VK2AB 40M CW|599 OC-001");   // FREQ of 7.0105 MHz
  EXPECT_EQ(qsos[11], "G4ABC 40M SSB|");           // no exchange at all
  EXPECT_EQ(log.qsos[1].Continent, "eu");          // the recalculation uppercases it
}

struct BadRecord {
  std::string record;
  std::string reason;
};

class AdifBadRecord : public testing::TestWithParam<BadRecord> {};

// The bad record stands second of three, so the test sees that the record
// before and the one after it are read and that the numbering goes on.
TEST_P(AdifBadRecord, IsLeftOutAloneWithItsReason) {
  const ImportedLog log = ReadAdif(kGood + GetParam().record + "\n" + kGood);
  EXPECT_EQ(Skipped(log), std::vector<std::string>{"2: " + GetParam().reason});
  EXPECT_EQ(log.qsos.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, AdifBadRecord,
    testing::Values(
        BadRecord{"<BAND:3>20m <MODE:2>CW <EOR>", "no CALL"},
        BadRecord{"<CALL:3>   <BAND:3>20m <EOR>", "no CALL"}, BadRecord{"<EOR>", "no CALL"},
        BadRecord{"<CALL:4>W1AW <BAND:3>21m <EOR>", "unknown band '21m'"},
        BadRecord{"<CALL:4>W1AW <FREQ:5>13.99 <EOR>", "the frequency '13.99' MHz lies in no band"},
        BadRecord{"<CALL:4>W1AW <FREQ:4>14,1 <EOR>", "the frequency '14,1' is no number"},
        BadRecord{"<CALL:4>W1AW <MODE:2>CW <EOR>", "no BAND and no FREQ"},
        BadRecord{"<CALL:4>W1AW <BAND:-3>20m <EOR>", "field 'BAND': the length '-3' is no number"},
        BadRecord{"<CALL:4>W1AW <BAND:>20m <EOR>", "field 'BAND': the length '' is no number"},
        BadRecord{"<:3>W1AW <BAND:3>20m <EOR>", "a field specifier has no field name"},
        BadRecord{"<CALL:4>W1AW <BAND>20m <EOR>", "the field specifier '<BAND>' has no length"},
        BadRecord{"<CALL:4>W1AW <BAND 20m <EOR>", "'<BAND 20m ' is no field specifier"},
        BadRecord{"<CALL:4>W1AW <B\x1b[2J> <EOR>", "the field specifier '<B?[2J>' has no length"},
        // A record that lacks a field for a length written too long says so.
        BadRecord{"<CALL:6><BAND:3>20m <EOR>",
                  "no CALL; field 'CALL': its length '6' runs into the next field, 'BAND'; "
                  "read as ''"}));

struct CutOff {
  std::string end;
  std::string reason;
};

class AdifCutOff : public testing::TestWithParam<CutOff> {};

TEST_P(AdifCutOff, TheLastRecordIsLeftOutAndTheOthersRead) {
  const ImportedLog log = ReadAdif(kGood + GetParam().end);
  EXPECT_EQ(Skipped(log), std::vector<std::string>{"2: " + GetParam().reason});
  EXPECT_EQ(log.qsos.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, AdifCutOff,
    testing::Values(CutOff{"<CALL:4>W1AW <BAND:3>20m",
                           "the file ends inside the record (no <EOR>)"},
                    CutOff{"<CALL:4>W1AW <BAND:3>20",
                           "field 'BAND': its length '3' runs past the end of the file"},
                    CutOff{"<CALL:4>W1AW <SRX_STRING:99999999999999999999999>59",
                           "field 'SRX_STRING': its length "
                           "'99999999999999999999999' runs past the "
                           "end of the file"},
                    CutOff{"<CALL:4>W1AW <BAND:3",
                           "the field specifier '<BAND:3' is cut off by the end of the file"}));

struct ExchangeCase {
  std::string fields;                       // of one record, after CALL and BAND
  std::vector<std::string> exchangeFields;  // as given to --exchange
  std::string exchange;
};

class AdifExchange : public testing::TestWithParam<ExchangeCase> {};

TEST_P(AdifExchange, ComesFromTheFieldsThatHoldIt) {
  const ImportedLog log = ReadAdif("<CALL:4>W1AW <BAND:3>20m " + GetParam().fields + " <EOR>",
                                   GetParam().exchangeFields);
  ASSERT_EQ(log.qsos.size(), 1u);
  EXPECT_EQ(log.qsos[0].QSOReportRecived, GetParam().exchange);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AdifExchange,
    testing::Values(
        ExchangeCase{"<SRX_STRING:6>EU-005 <SRX:3>012 <IOTA:6>EU-001", {}, "EU-005 EU-001"},
        ExchangeCase{"<SRX_STRING:3>005 <IOTA:6>OC-088", {}, "005 OC-088"},
        ExchangeCase{"<SRX_STRING:11>599 oc-088  <IOTA:7>OC-088 ", {}, "599 oc-088 "},
        ExchangeCase{"<SRX:3>012 <IOTA:6>EU-005", {}, "012 EU-005"},
        ExchangeCase{"<iota:6>EU-005", {}, "EU-005"},
        ExchangeCase{"<SRX:3>012 <IOTA:0>", {}, "012"},
        ExchangeCase{"<STATE:2>NY <RST_RCVD:3>599 <SRX_STRING:3>001",
                     {"RST_RCVD", "state", "GRIDSQUARE"},
                     "599 NY"},
        ExchangeCase{"<SRX_STRING:6>EU-005", {"COMMENT"}, ""},
        ExchangeCase{"<SRX:3>012 <IOTA:6>EU-005", {"SRX"}, "012"}));

TEST(AdifReader, NamesExchangeFieldsThatNoRecordHolds) {
  const ImportedLog log =
      ReadAdif("<SRX:3>007 <EOH>" + kGood + "<CALL:4>W1AW <BAND:3>20m <SRX:3>001 <EOR>",
               {"SRX_STRNG", "SRX", "STATE"});
  EXPECT_EQ(log.remarks, std::vector<std::string>({"no record holds the exchange field "
                                                   "'SRX_STRNG'",
                                                   "no record holds the exchange field 'STATE'"}));
  EXPECT_EQ(ReadAdif(kGood).remarks, std::vector<std::string>{});
}

struct When {
  std::string fields;  // QSO_DATE and TIME_ON
  std::string date, time;
  std::string note;  // "" when the record is read as it stands
};

class AdifWhen : public testing::TestWithParam<When> {};

TEST_P(AdifWhen, KeepsTheDateAndTimeOrNotesWhyNot) {
  const ImportedLog log =
      ReadAdif(kGood + "<CALL:4>W1AW <BAND:3>20m <MODE:2>CW " + GetParam().fields + "<EOR>");
  ASSERT_EQ(log.qsos.size(), 2u);
  const ImportedQso& qso = log.qsos[1];
  const auto [date, time] = orva::test::Texts(qso.when);
  EXPECT_EQ(std::vector<std::string>({date, time, std::to_string(qso.record)}),
            std::vector<std::string>({GetParam().date, GetParam().time, "2"}));
  EXPECT_EQ(Noted(log), GetParam().note.empty()
                            ? std::vector<std::string>{}
                            : std::vector<std::string>{"2: " + GetParam().note});
}

INSTANTIATE_TEST_SUITE_P(
    Times, AdifWhen,
    testing::Values(When{"<QSO_DATE:8>20260725 <TIME_ON:4>1602", "2026-07-25", "16:02", ""},
                    When{"<qso_date:8:D>20260725 <time_on:6>160230", "2026-07-25", "16:02:30", ""},
                    When{"<QSO_DATE:8>20260725", "2026-07-25", "", ""}, When{"", "", "", ""},
                    When{"<QSO_DATE:10>2026-07-25 <TIME_ON:4>1602", "", "16:02",
                         "QSO_DATE '2026-07-25' is no date (YYYYMMDD); read without it"},
                    When{"<QSO_DATE:8>20261325 <TIME_ON:4>2460", "", "",
                         "QSO_DATE '20261325' is no date (YYYYMMDD), TIME_ON '2460' is no time "
                         "(HHMM or HHMMSS); read without it"}));

struct ModeCase {
  std::string fields;  // of one record, after CALL and BAND
  std::string mode;
  std::string note;  // "" when the record is read as it stands
};

class AdifMode : public testing::TestWithParam<ModeCase> {};

TEST_P(AdifMode, IsNamedOneWayAndMissingIsNoted) {
  const ImportedLog log = ReadAdif("<CALL:4>W1AW <BAND:3>20m " + GetParam().fields + " <EOR>");
  ASSERT_EQ(log.qsos.size(), 1u);
  EXPECT_EQ(log.qsos[0].QSOMode, GetParam().mode);
  EXPECT_EQ(Noted(log), GetParam().note.empty()
                            ? std::vector<std::string>{}
                            : std::vector<std::string>{"1: " + GetParam().note});
}

const std::string kNoMode =
    "no MODE: read without one, which counts as a mode of its own for duplicates and "
    "multipliers";

INSTANTIATE_TEST_SUITE_P(
    Modes, AdifMode,
    testing::Values(ModeCase{"<MODE:3>SSB <SUBMODE:3>USB", "SSB", ""},
                    ModeCase{"<submode:3>FT4 <MODE:4>MFSK", "FT4", ""},
                    ModeCase{"<MODE:3>PSK <SUBMODE:0>", "PSK", ""}, ModeCase{"", "", kNoMode},
                    ModeCase{
                        "<MODE:1>  <TIME_ON:2>16", "",
                        "TIME_ON '16' is no time (HHMM or HHMMSS); read without it; " + kNoMode}));

struct LongLength {
  std::string record;  // the second of three
  std::string qso;     // as test::Qsos shows it
  std::string note;
};

class AdifLengthTooLong : public testing::TestWithParam<LongLength> {};

// The length costs neither its own record nor the next one, which the data
// it gives swallowed a part of.
TEST_P(AdifLengthTooLong, ReadsTheDataUpToWhatItSwallowedAndSaysSo) {
  const ImportedLog log = ReadAdif(kGood + GetParam().record + "\n" + kGood);
  EXPECT_EQ(Skipped(log), std::vector<std::string>{});
  EXPECT_EQ(Qsos(log), std::vector<std::string>({kGoodQso, GetParam().qso, kGoodQso}));
  EXPECT_EQ(Noted(log), std::vector<std::string>{"2: " + GetParam().note});
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, AdifLengthTooLong,
    testing::Values(
        LongLength{"<CALL:4>W1AW <MODE:2>CW <BAND:5>20m <eor>", "W1AW 20M CW|",
                   "field 'BAND': its length '5' runs past the end of its record; read as '20m'"},
        LongLength{"<CALL:4>W1AW <MODE:2>CW <BAND:3>20m <SRX_STRING:16>599 NA-001 <EOR>",
                   "W1AW 20M CW|599 NA-001",
                   "field 'SRX_STRING': its length '16' runs past the end of its record; read "
                   "as '599 NA-001'"},
        // Up to the middle of the next record's BAND.
        LongLength{"<CALL:4>W1AW <MODE:2>CW <BAND:3>20m <SRX_STRING:40>599 NA-001 <EOR>",
                   "W1AW 20M CW|599 NA-001",
                   "field 'SRX_STRING': its length '40' runs past the end of its record; read "
                   "as '599 NA-001'"},
        LongLength{"<CALL:6>W1AW <MODE:2>CW <BAND:3>20m <EOR>", "W1AW 20M CW|",
                   "field 'CALL': its length '6' runs into the next field, 'MODE'; read as "
                   "'W1AW'"},
        LongLength{"<CALL:20:S>W1AW <MODE:2>CW <BAND:3>20m <EOR>", "W1AW 20M CW|",
                   "field 'CALL': its length '20' runs into the next field, 'MODE'; read as "
                   "'W1AW'"}));

class AdifTagsInData : public testing::TestWithParam<std::string> {};

// Data may hold tags, as a comment that quotes one: only specifiers that
// run on to the data's end show a length written too long.
TEST_P(AdifTagsInData, AreDataAsWritten) {
  const std::string& data = GetParam();
  const ImportedLog log =
      ReadAdif("<CALL:4>W1AW <BAND:3>20m <MODE:2>CW <SRX_STRING:" + std::to_string(data.size()) +
               ">" + data + " <EOR>");
  ASSERT_EQ(log.qsos.size(), 1u);
  EXPECT_EQ(log.qsos[0].QSOReportRecived, data);
  EXPECT_EQ(Noted(log), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Data, AdifTagsInData,
                         testing::Values("<EOR> was <here>", "<EOR>59", "59 <CALL:4>W1AW", "59 <",
                                         "a <b> <EOR>c", "<BAND:3>20m <MODE:2>CW x",
                                         "59 <EOR> <my note:1>x"));

struct Ending {
  std::string file;
  std::size_t qsos;
  std::vector<std::string> skipped;
};

class AdifEndOfFile : public testing::TestWithParam<Ending> {};

TEST_P(AdifEndOfFile, ComesWithTheOnlineLogbooksEndTag) {
  const ImportedLog log = ReadAdif(GetParam().file);
  EXPECT_EQ(log.qsos.size(), GetParam().qsos);
  EXPECT_EQ(Skipped(log), GetParam().skipped);
}

INSTANTIATE_TEST_SUITE_P(Endings, AdifEndOfFile,
                         testing::Values(Ending{"<PROGRAMID:4>LoTW <APP_LoTW_NUMREC:1>1 <EOH>\n" +
                                                    kGood + "\n<APP_LoTW_EOF>\n",
                                                1,
                                                {}},
                                         Ending{kGood + "<app_lotw_eof>" + kGood, 1, {}},
                                         Ending{kGood + "<APP_LoTW_EOF>\n<broken", 1, {}},
                                         Ending{
                                             kGood + "<CALL:4>W1AW <APP_LoTW_EOF>",
                                             1,
                                             {"2: the file ends inside the record (no <EOR>)"}}));

TEST(AdifReader, CountsLengthsInBytesAndKeepsEveryByteOfTheData) {
  const std::string exchange = "59 \xC3\xA9\0\xFF<EOR>EU-001"s;
  const ImportedLog log =
      ReadAdif("<CALL:4>W1AW<BAND:3>20m<SRX_STRING:" + std::to_string(exchange.size()) + ">" +
               exchange + "<EOR>");
  ASSERT_EQ(log.qsos.size(), 1u);
  EXPECT_EQ(log.qsos[0].QSOReportRecived, exchange);
}

TEST(AdifReader, TakesHeadersAsHeadersWhereverTheyStand) {
  const std::vector<std::string> files = {
      // A header must not start with '<', but some programs write one so.
      "<ADIF_VER:5>3.1.4 <EOH>\n" + kGood,
      // Free text of a header may hold a '<' of its own.
      "Exported by <my logger>\n<EOH>\n" + kGood,
      // Two exported files joined into one.
      "Log one\n<EOH>\n" + kGood + "Log two <PROGRAMID:4>test <EOH>\n" + kGood,
      "\xEF\xBB\xBF" + kGood,  // UTF-8 byte order mark
  };
  for (const std::string& file : files) {
    const ImportedLog log = ReadAdif(file);
    EXPECT_EQ(Skipped(log), std::vector<std::string>{}) << file;
    EXPECT_FALSE(log.qsos.empty()) << file;
  }
}

TEST(AdifReader, AnEmptyFileHoldsNoRecord) {
  for (const std::string file : {"", "\n\n", "header only\n<EOH>\n"}) {
    const ImportedLog log = ReadAdif(file);
    EXPECT_TRUE(log.qsos.empty() && log.skipped.empty() && log.unreadable.empty()) << file;
  }
}

TEST(AdifReader, RefusesWideUnicodeFilesWhole) {
  std::string utf16;
  for (const char c : kGood) {
    utf16 += {c, '\0'};
  }
  for (const std::string& file : {"\xFF\xFE" + utf16, utf16, "\xFF\xFE\0\0<\0\0\0"s}) {
    const ImportedLog log = ReadAdif(file);
    EXPECT_NE(log.unreadable.find("text; save it as 8-bit"), std::string::npos);
    EXPECT_TRUE(log.qsos.empty() && log.skipped.empty());
  }
}

}  // namespace
}  // namespace orva::import
