// The manual page and --help describe the same options, with the same value names, in the
// same order: both come from one table in the code and one source file of the manual.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"

using namespace qvar;

namespace {

std::string unescape(std::string text) {
    for (size_t at = text.find("\\-"); at != std::string::npos; at = text.find("\\-", at)) text.erase(at, 1);
    return text;
}

// "--name VALUE" for each ".B --name" / ".BI --name " VALUE"" that follows a .TP in OPTIONS.
std::vector<std::string> manual_options(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> found;
    std::string line, previous;
    bool in_options = false;
    while (std::getline(in, line)) {
        if (line.starts_with(".SH")) in_options = line == ".SH OPTIONS";
        if (in_options && previous == ".TP" && (line.starts_with(".B \\-\\-") || line.starts_with(".BI \\-\\-"))) {
            std::string entry = unescape(line.substr(line.find(' ') + 1));
            std::erase(entry, '"');
            const size_t gap = entry.find(' ');
            const size_t value = entry.find_first_not_of(' ', gap);
            found.push_back(value == std::string::npos ? entry.substr(0, gap)
                                                       : entry.substr(0, gap) + " " + entry.substr(value));
        }
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
