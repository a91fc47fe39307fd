// The layout of orva-host's --help, which is also what help2man makes the
// manual page of: the modes first, as a list under a heading that says how
// many may be given, then each group of options, each option with its
// argument alone. The option library's own notes (option-group markers,
// "at most N of the following", defaults after "=", exclusions) would only
// repeat in its words what the headings and descriptions say.
#pragma once

#include <CLI/CLI.hpp>

#include <cstddef>
#include <string>

namespace orva::host {

class HelpFormatter : public CLI::Formatter {
 public:
  // `usage`: the usage lines, each a whole line, the first after "Usage: ".
  // Option names stand in a column this wide, their descriptions after it.
  static constexpr std::size_t kNameColumn = 26;

  explicit HelpFormatter(std::string usage) : usage_(std::move(usage)) {
    column_width(kNameColumn);
  }

  std::string make_help(const CLI::App* app, std::string name,
                        CLI::AppFormatMode mode) const override;
  std::string make_description(const CLI::App* app) const override;
  std::string make_usage(const CLI::App* app, std::string name) const override;
  std::string make_expanded(const CLI::App* group) const override;
  std::string make_option_name(const CLI::Option* option, bool positional) const override;
  std::string make_option_opts(const CLI::Option* option) const override;

 private:
  std::string Groups(const CLI::App* app) const;

  std::string usage_;
};

}  // namespace orva::host
