// The error box's caption: the host executable's name as the operator knows
// it, cut at its first dot, in lower case after its first letter.
#include "scoring/error_box_text.h"

#include <gtest/gtest.h>

#include "platform/host_process.h"

namespace orva {
namespace {

struct TitleCase {
  std::string executablePath, title;
};

class ApplicationTitles : public testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitles, LowerEveryLetterAfterTheFirst) {
  EXPECT_EQ(ApplicationTitle(GetParam().executablePath), GetParam().title);
}

const std::string kFolder =
    std::string("Logs") + platform::kPathSeparator + "HOSTS.D" + platform::kPathSeparator;

INSTANTIATE_TEST_SUITE_P(
    Table, ApplicationTitles,
    testing::Values(TitleCase{"LOGGER.EXE", "Logger"}, TitleCase{"ORVA-HOST", "Orva-host"},
                    TitleCase{"QSO2.Logger.exe", "Qso2"}, TitleCase{"LoG9_A-Z@[.exe", "Log9_a-z@["},
                    TitleCase{"logger", "logger"}, TitleCase{"x", "x"}, TitleCase{"", ""},
                    TitleCase{".EXE", ""}, TitleCase{kFolder + "LOGGER.EXE", "Logger"},
                    TitleCase{kFolder, ""}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace orva
