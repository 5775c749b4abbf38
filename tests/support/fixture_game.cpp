#include "support/fixture_game.h"

#include <gtest/gtest.h>

#include <fstream>

#include "archive/script_source.h"
#include "core/files.h"

namespace veskar::test {

ArchiveLayout layoutOfArchiveFile(std::string_view archiveFile) {
    return archiveFile.starts_with("vk_data") ? ArchiveLayout::Script : ArchiveLayout::General;
}

FixtureGame::FixtureGame() : temp_(std::make_unique<TempDir>()), dir_(temp_->path()) {}

FixtureGame::FixtureGame(std::filesystem::path dir) : dir_(std::move(dir)) {}

FixtureGame& FixtureGame::addScript(std::string_view name, std::string_view utf8Text) {
    auto encoded = encodeScriptSource(utf8Text);
    if (!encoded) {
        ADD_FAILURE() << "script " << name << " line " << encoded.error().line << " column "
                      << encoded.error().column << ": " << encoded.error().message;
        return *this;
    }
    return addEntry("vk_data.vsk", name, *encoded);
}

FixtureGame& FixtureGame::addOverrideScript(std::string_view name, std::string_view utf8Text) {
    auto encoded = encodeScriptSource(utf8Text);
    if (!encoded) {
        ADD_FAILURE() << "script " << name << ": " << encoded.error().message;
        return *this;
    }
    return addEntry("vk_data2.vsk", name, *encoded);
}

FixtureGame& FixtureGame::addEntry(std::string_view archiveFile, std::string_view name,
                                   std::span<const std::uint8_t> bytes) {
    archives_[std::string(archiveFile)].entries.push_back({std::string(name), {bytes.begin(), bytes.end()}});
    return *this;
}

FixtureGame& FixtureGame::addEntry(std::string_view archiveFile, std::string_view name,
                                   std::string_view bytes) {
    return addEntry(
        archiveFile, name,
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

FixtureGame& FixtureGame::addEmptyArchive(std::string_view archiveFile) {
    archives_[std::string(archiveFile)];
    return *this;
}

FixtureGame& FixtureGame::setNameField(std::string_view archiveFile, std::uint32_t nameField) {
    archives_[std::string(archiveFile)].nameField = nameField;
    return *this;
}

FixtureGame& FixtureGame::addFile(const std::filesystem::path& relativePath, std::string_view bytes) {
    const auto target = dir_ / relativePath;
    std::filesystem::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return *this;
}

const std::filesystem::path& FixtureGame::write() {
    for (const auto& [file, archive] : archives_) {
        auto written =
            writeArchive(dir_ / file, layoutOfArchiveFile(file), archive.entries, archive.nameField);
        if (!written) ADD_FAILURE() << file << ": " << written.error();
    }
    return dir_;
}

} // namespace veskar::test
