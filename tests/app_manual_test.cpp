// The manual page and --help describe the same options, with the same value names, in the
// same order: both come from one table in the code and one source file of the manual.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "app/command_line.h"

using namespace qvar;

namespace {

// "--name VALUE" for each ".B \-\-name" or ".BI \-\-name " VALUE"" that follows a .TP in OPTIONS.
std::vector<std::string> manual_options(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> found;
    std::string line, previous, section;
    while (std::getline(in, line)) {
        if (line.starts_with(".SH")) section = line;
        if (section == ".SH OPTIONS" && previous == ".TP" && std::regex_search(line, std::regex(R"(^\.BI? \\-\\-)")))
            found.push_back(std::regex_replace(std::regex_replace(line.substr(line.find(' ') + 1), std::regex(R"(\\(-)|")"), "$1"),
                                               std::regex(" +"), " "));
        previous = line;
    }
    return found;
}

}  // namespace

TEST(Manual, ListsTheOptionsOfHelpWithTheirValues) {
    std::vector<std::string> from_table;
    for (const OptionInfo& option : command_line_options()) {
        std::string entry(option.name);
        if (!option.value.empty()) entry += " " + std::string(option.value);
        from_table.push_back(entry);
        const size_t at = usage_text().find("\n  " + entry);
        ASSERT_NE(at, std::string::npos) << entry << " is not in --help";
        EXPECT_TRUE(std::isspace(usage_text()[at + 3 + entry.size()])) << entry << " is not a whole entry";
    }
    EXPECT_EQ(manual_options(std::string(QVAR_SOURCE_DIR) + "/docs/qvar.6.in"), from_table);
}
