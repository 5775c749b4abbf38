// Every file of the fuzz corpora goes through its parser in the normal build:
// seeds and the inputs that once broke a parser must keep passing cleanly.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "core/files.h"
#include "fuzz_targets.h"

namespace veskar {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpora = fs::path(VESKAR_SOURCE_DIR) / "fuzz" / "corpus";

TEST(FuzzCorpus, EveryFileReplaysThroughItsParser) {
    for (const auto& target : fuzz::targets()) {
        SCOPED_TRACE(std::string(target.name));
        const fs::path dir = kCorpora / target.name;
        ASSERT_TRUE(fs::is_directory(dir)) << dir;
        int files = 0;
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (!entry.is_regular_file()) continue;
            SCOPED_TRACE(entry.path().filename().string());
            const auto bytes = readWholeFile(entry.path());
            ASSERT_TRUE(bytes.has_value()) << bytes.error();
            target.run(*bytes);
            ++files;
        }
        EXPECT_GT(files, 0) << "a target without seeds";
    }
}

TEST(FuzzCorpus, EveryCorpusBelongsToATarget) {
    std::set<std::string> names;
    for (const auto& target : fuzz::targets())
        names.emplace(target.name);
    for (const auto& entry : fs::directory_iterator(kCorpora))
        EXPECT_TRUE(names.contains(entry.path().filename().string())) << entry.path();
}

} // namespace
} // namespace veskar
