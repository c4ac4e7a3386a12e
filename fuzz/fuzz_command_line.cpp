// Fuzz target for the command line: the input split at zero bytes into arguments. Whatever
// they hold, the parser decides, and an error is one printable line of bounded length.
#include <string>
#include <vector>

#include "app/command_line.h"
#include "fuzz_support.h"

namespace qvar::fuzz {

int fuzz_command_line(const uint8_t* data, size_t size) {
    std::vector<std::string> args = {"qvar"};
    std::string arg;
    for (size_t i = 0; i < size && args.size() < 64; ++i) {
        if (data[i] == 0) args.push_back(std::move(arg)), arg.clear();
        else arg.push_back(static_cast<char>(data[i]));
    }
    args.push_back(arg);
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    const ParsedCommandLine parsed = parse_command_line(static_cast<int>(argv.size()), argv.data());
    if (parsed.action != CommandAction::Error) return 0;
    require(!parsed.error.empty() && parsed.error.size() < 400, "an error is one line of bounded length");
    for (char c : parsed.error)
        require(static_cast<uint8_t>(c) >= 0x20 && c != 0x7f, "an error has no control character");
    return 0;
}

}  // namespace qvar::fuzz
