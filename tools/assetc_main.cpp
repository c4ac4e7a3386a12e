// qvar_assetc: compiles one source of data/ into one data file of the game.
//   qvar_assetc font|digits|sprites|boni SOURCE.txt OUTPUT.dat
//   qvar_assetc credits SOURCE.txt OUTPUT.dat
// Prints one line naming the source line and exits with 1 on any error; the output file is
// then left as it was, so a broken source never leaves a half-written data file behind.
#include <cstdio>
#include <string>
#include <vector>

#include "asset_compiler.h"
#include "util/files.h"

namespace {

constexpr size_t MAX_SOURCE_BYTES = 1 << 20;  // art and credits sources are a few kilobytes

int usage() {
    std::fprintf(stderr, "usage: qvar_assetc font|digits|sprites|boni|credits SOURCE OUTPUT\n");
    return 2;
}

int compile(const std::string& kind, const std::string& source, const std::string& output) {
    const qvar::FileRead text = qvar::read_file(source, MAX_SOURCE_BYTES, qvar::Oversize::Refuse);
    if (!text.ok()) {
        std::fprintf(stderr, "qvar_assetc: cannot read %s: %s\n", source.c_str(), text.reason.c_str());
        return 1;
    }
    std::string_view view(reinterpret_cast<const char*>(text.bytes.data()), text.bytes.size());
    std::vector<uint8_t> bytes;
    std::string error;
    bool ok = false;
    qvar::assets::FileLayout layout;
    if (kind == "credits") ok = qvar::assets::compile_credits(view, source, bytes, error);
    else if (qvar::assets::layout_for_kind(kind, layout)) ok = qvar::assets::compile_art(view, source, layout, bytes, error);
    else return usage();
    if (!ok) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (const qvar::FileResult written = qvar::write_file_atomic(output, bytes); !written) {
        std::fprintf(stderr, "qvar_assetc: cannot write %s: %s\n", output.c_str(), written.reason.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return usage();
    return compile(argv[1], argv[2], argv[3]);
}
