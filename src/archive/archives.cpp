#include "archive/archives.h"

// Index reading arrives with the archive subsystem.
namespace veskar {
void Archives::LoadScriptIndexes() {}
void Archives::OpenArchives(const ShippedArchives&, std::string_view) {}
std::optional<EntryLocation> Archives::FindEntry(std::span<const SlotRef>, std::string_view) const { return {}; }
std::optional<std::vector<std::uint8_t>> Archives::readEntry(const EntryLocation&) const { return {}; }
bool Archives::scriptArchiveExists() const { return false; }
bool Archives::firstPictureArchiveExists() const { return false; }
} // namespace veskar
