// Shared test fixtures: temporary folders, small valid data files, a headless System.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "model/system.h"

namespace qvar::test {

// A fresh folder under the system's temp folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Writes lets.dat, nums.dat, qvar.dat, boni.dat and c2.dat with the right layouts and
// simple, recognisable pictures (not the game's art): tests do not depend on the artwork.
void write_test_data_files(const std::string& dir);

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_bytes(const std::string& path);

// A headless System with its display open, the palette at gamma 1, the font and both digit
// sets loaded from test data, and empty user folder.
struct TestRig {
    TestRig();
    TempDir data_dir;
    TempDir user_dir;
    HeadlessPlatform platform;
    std::unique_ptr<System> sys;
};

}  // namespace qvar::test
