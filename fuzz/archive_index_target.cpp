#include <cstdlib>
#include <string>

#include "archive/archive_index.h"
#include "fuzz_targets.h"

namespace veskar::fuzz {

namespace {
// What readers rely on: every kept entry lies inside the file, and a name
// that is in the index is found (at its first entry).
void check(const IndexParseResult& parsed, std::uint64_t fileSize, Bytes data) {
    const ArchiveIndex& index = parsed.index;
    if (index.offsets.size() != index.count() || index.sizes.size() != index.count()) std::abort();
    for (std::size_t i = 0; i < index.count(); ++i) {
        if (std::uint64_t{index.offsets[i]} + index.sizes[i] > fileSize) std::abort();
        const int found = index.find(index.names[i]);
        if (found < 0 || static_cast<std::size_t>(found) > i) std::abort();
    }
    // A name taken from the input itself, as a script would ask for it.
    const std::size_t length = data.empty() ? 0 : data[0] % 32;
    const std::string name(reinterpret_cast<const char*>(data.data()), std::min(length, data.size()));
    const int found = index.find(name);
    if (found >= static_cast<int>(index.count())) std::abort();
}
} // namespace

void archiveIndex(Bytes data) {
    // The file is taken to be the input, or larger than it (an index read
    // from the head of a big archive).
    const std::uint64_t sizes[] = {data.size(), std::uint64_t{data.size()} + 4096};
    for (const std::uint64_t fileSize : sizes) {
        for (const auto layout : {ArchiveLayout::Script, ArchiveLayout::General}) {
            const std::uint64_t region = indexRegionSize(layout, data, fileSize);
            if (region > fileSize) std::abort();
            const Bytes head =
                data.first(static_cast<std::size_t>(std::min<std::uint64_t>(region, data.size())));
            const IndexParseResult parsed = layout == ArchiveLayout::Script
                                                ? parseScriptIndex(head, fileSize)
                                                : parseGeneralIndex(head, fileSize);
            check(parsed, fileSize, data);
        }
    }
}

} // namespace veskar::fuzz
