#include "archive/archive_writer.h"

#include <cstring>
#include <limits>

#include "core/byte_reader.h"
#include "core/files.h"
#include "core/sjis.h"

namespace veskar {

std::uint32_t maxNameLength(ArchiveLayout layout, std::uint32_t generalNameField) {
    const std::uint32_t field = layout == ArchiveLayout::Script ? kScriptNameField : generalNameField;
    return field == 0 ? 0 : field - 1;
}

std::string checkEntryName(std::string_view name, ArchiveLayout layout, std::uint32_t generalNameField) {
    const std::string shown = "'" + cp932ToUtf8(name) + "'";
    if (name.empty()) return "an entry name is empty";
    if (name.find('\0') != std::string_view::npos) return "the entry name " + shown + " contains a NUL byte";
    const std::uint32_t longest = maxNameLength(layout, generalNameField);
    if (name.size() > longest)
        return "the entry name " + shown + " is " + std::to_string(name.size()) + " bytes long; the " +
               (layout == ArchiveLayout::Script ? "script" : "general") + " layout" +
               (layout == ArchiveLayout::General ? " with name field " + std::to_string(generalNameField)
                                                 : "") +
               " holds at most " + std::to_string(longest);
    return {};
}

std::expected<std::vector<std::uint8_t>, std::string>
buildArchive(ArchiveLayout layout, std::span<const ArchiveEntry> entries, std::uint32_t generalNameField) {
    if (layout == ArchiveLayout::General &&
        (generalNameField == 0 || generalNameField > kMaxGeneralNameField))
        return std::unexpected("the name field length must be 1 to " + std::to_string(kMaxGeneralNameField) +
                               ", not " + std::to_string(generalNameField));
    for (const auto& entry : entries)
        if (auto problem = checkEntryName(entry.name, layout, generalNameField); !problem.empty())
            return std::unexpected(problem);

    const std::uint32_t nameField = layout == ArchiveLayout::Script ? kScriptNameField : generalNameField;
    const std::uint64_t headerSize =
        layout == ArchiveLayout::Script ? kScriptIndexHeader : kGeneralIndexHeader;
    std::uint64_t total = headerSize + entries.size() * (std::uint64_t{nameField} + 8);
    for (const auto& entry : entries)
        total += entry.bytes.size();
    // Offsets and sizes are 32-bit.
    if (entries.size() > std::numeric_limits<std::uint32_t>::max() ||
        total > std::numeric_limits<std::uint32_t>::max())
        return std::unexpected("the archive would be " + std::to_string(total) +
                               " bytes; its offsets reach only 4 GiB");

    ByteWriter out;
    out.data().reserve(static_cast<std::size_t>(total));
    out.u32(static_cast<std::uint32_t>(entries.size()));
    if (layout == ArchiveLayout::General) out.u32(nameField);
    std::uint64_t dataAt = headerSize + entries.size() * (std::uint64_t{nameField} + 8);
    for (const auto& entry : entries) {
        std::vector<std::uint8_t> field(nameField, 0);
        std::memcpy(field.data(), entry.name.data(), entry.name.size());
        out.bytes(field);
        out.u32(static_cast<std::uint32_t>(dataAt));
        out.u32(static_cast<std::uint32_t>(entry.bytes.size()));
        dataAt += entry.bytes.size();
    }
    for (const auto& entry : entries)
        out.bytes(entry.bytes);
    return std::move(out.data());
}

std::expected<void, std::string> writeArchive(const std::filesystem::path& path, ArchiveLayout layout,
                                              std::span<const ArchiveEntry> entries,
                                              std::uint32_t generalNameField) {
    auto bytes = buildArchive(layout, entries, generalNameField);
    if (!bytes) return std::unexpected(bytes.error());
    return writeFileAtomically(path, *bytes);
}

} // namespace veskar
