#pragma once
// Small games built on the fly: scripts and entries go into archives in a
// temporary game folder, written with the engine's own archive writer.
//
//   test::FixtureGame game;
//   game.addScript("main", "hello\n\\\n").addEntry("vk_gra.vsk", "bg01", bytes);
//   const auto dir = game.write();

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_writer.h"
#include "support/headless_rig.h"

namespace veskar::test {

class FixtureGame {
public:
    // A fresh folder under the system's temp folder, removed with the object.
    FixtureGame();
    // An existing folder, left in place.
    explicit FixtureGame(std::filesystem::path dir);

    // A script of vk_data.vsk from UTF-8 text (LF or CRLF line ends); a text
    // CP932 cannot hold fails the test.
    FixtureGame& addScript(std::string_view name, std::string_view utf8Text);
    // A script of vk_data2.vsk, whose scripts win over vk_data.vsk's.
    FixtureGame& addOverrideScript(std::string_view name, std::string_view utf8Text);
    // An entry of the archive file `archiveFile` ("vk_gra.vsk", "vk_se0.vsk" ...),
    // bytes stored as given; `name` is stored as given (Shift-JIS). vk_data*.vsk
    // take the script layout, the others the general layout. Entries keep
    // their order; a name may repeat.
    FixtureGame& addEntry(std::string_view archiveFile, std::string_view name,
                          std::span<const std::uint8_t> bytes);
    FixtureGame& addEntry(std::string_view archiveFile, std::string_view name, std::string_view bytes);
    // An archive with no entries (N = 0).
    FixtureGame& addEmptyArchive(std::string_view archiveFile);
    // L of a general-layout archive (default 32).
    FixtureGame& setNameField(std::string_view archiveFile, std::uint32_t nameField);
    // A plain file in the game folder, e.g. "panic.bmp".
    FixtureGame& addFile(const std::filesystem::path& relativePath, std::string_view bytes);

    // Writes every archive and returns the folder.
    const std::filesystem::path& write();
    const std::filesystem::path& path() const { return dir_; }

private:
    struct PendingArchive {
        std::vector<ArchiveEntry> entries;
        std::uint32_t nameField = kDefaultGeneralNameField;
    };

    std::unique_ptr<TempDir> temp_;
    std::filesystem::path dir_;
    std::map<std::string, PendingArchive> archives_;
};

// The layout the engine reads an archive file of that name with.
ArchiveLayout layoutOfArchiveFile(std::string_view archiveFile);

} // namespace veskar::test
