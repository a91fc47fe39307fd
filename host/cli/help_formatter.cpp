// orva-host's --help in the order a reader needs it: what the program does,
// how to call it, what it can do (the option group of modes), the other
// options by group, and the footer.
#include "host/cli/help_formatter.h"

#include <vector>

namespace orva::host {

std::string HelpFormatter::make_help(const CLI::App* app, std::string name,
                                     CLI::AppFormatMode) const {
  return make_description(app) + "\n" + make_usage(app, name) +
         make_subcommands(app, CLI::AppFormatMode::Normal) + Groups(app) + "\n" + make_footer(app);
}

std::string HelpFormatter::make_description(const CLI::App* app) const {
  const std::string& description = app->get_description();
  return description.empty() ? description : description + "\n";
}

std::string HelpFormatter::make_usage(const CLI::App*, std::string) const {
  return "Usage: " + usage_;
}

// The groups one after the other, each after one blank line; an argument
// without an option stands in its group like the options.
std::string HelpFormatter::Groups(const CLI::App* app) const {
  std::string groups;
  for (const std::string& group : app->get_groups()) {
    const std::vector<const CLI::Option*> options =
        app->get_options([&](const CLI::Option* option) { return option->get_group() == group; });
    if (!group.empty() && !options.empty()) {
      groups += make_group(group, false, options);
    }
  }
  return groups;
}

// An option group, such as the modes, as a group like any other: its name
// and, in brackets, its description (how many of its options may be given).
// The help flag it took over from the program is left to the program.
std::string HelpFormatter::make_expanded(const CLI::App* group) const {
  std::string heading = group->get_group();
  if (!group->get_description().empty()) {
    heading += " (" + group->get_description() + ")";
  }
  const std::vector<const CLI::Option*> options =
      group->get_options([group](const CLI::Option* option) {
        return option->nonpositional() && option != group->get_help_ptr();
      });
  return make_group(heading, false, options);
}

// An argument without an option is named by what it is (FILE).
std::string HelpFormatter::make_option_name(const CLI::Option* option, bool positional) const {
  return option->nonpositional() ? CLI::Formatter::make_option_name(option, positional)
                                 : option->get_type_name();
}

std::string HelpFormatter::make_option_opts(const CLI::Option* option) const {
  if (!option->nonpositional() || option->get_type_size() == 0 || option->get_type_name().empty()) {
    return {};
  }
  return " " + option->get_type_name();
}

}  // namespace orva::host
