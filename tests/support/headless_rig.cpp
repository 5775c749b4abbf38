#include "support/headless_rig.h"

#include <cstdlib>
#include <string>

namespace veskar::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "veskar-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

} // namespace veskar::test
