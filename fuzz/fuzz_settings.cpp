// Fuzz target for the settings file (qvar.conf): any text reads without fault, every faulty
// line is named by a line number inside the text, and the settings read, saved back into
// the same text, read again as the same settings.
#include <algorithm>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "store/settings_text.h"

namespace qvar::fuzz {

int fuzz_settings(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<SettingsProblem> problems;
    const Settings read = parse_settings_text(text, Settings{}, problems);
    const auto lines = 1 + std::count(text.begin(), text.end(), '\n');
    for (const SettingsProblem& p : problems)
        require(p.line >= 1 && p.line <= lines && !p.message.empty(), "a problem names a line of the file");
    std::vector<std::pair<std::string, std::string>> every;
    for (const SettingInfo& info : setting_infos()) every.emplace_back(info.name, info.format(read));
    std::vector<SettingsProblem> again;
    const Settings reread = parse_settings_text(updated_settings_text(text, every), Settings{}, again);
    require(changed_settings(read, reread).empty(), "the settings saved into the file read back the same");
    return 0;
}

}  // namespace qvar::fuzz
