#include "script/label_index.h"

#include <algorithm>
#include <cstring>

#include "core/sjis.h"

namespace veskar {

// Names compare as their upperAscii forms do. upperAscii decides which bytes
// are second bytes by reading from the start of the text, but a name always
// follows a ":", which cannot begin a two-byte character; so reading the
// whole script once from its start decides the same for every name in it.

namespace {

// One past the end of the line that begins at `start`: its NUL, or the script's end.
std::size_t lineEnd(std::span<const std::uint8_t> script, std::size_t start) {
    const void* nul = std::memchr(script.data() + start, 0, script.size() - start);
    return nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - script.data())
               : script.size();
}

std::int32_t firstAtOrAfter(const std::vector<std::int32_t>& sorted, std::int32_t from) {
    const auto it = std::lower_bound(sorted.begin(), sorted.end(), from);
    return it == sorted.end() ? -1 : *it;
}

} // namespace

std::int32_t LabelIndex::Trie::child(std::int32_t node, std::uint8_t byte) const {
    const auto it = children.find(static_cast<std::uint64_t>(node) << 8 | byte);
    return it == children.end() ? -1 : it->second;
}

std::int32_t LabelIndex::Trie::addChild(std::int32_t node, std::uint8_t byte) {
    const auto [it, added] = children.try_emplace(static_cast<std::uint64_t>(node) << 8 | byte, size());
    if (added) parents.push_back(node);
    return it->second;
}

void LabelIndex::build(std::span<const std::uint8_t> script) {
    *this = LabelIndex{};
    size_ = static_cast<std::int32_t>(script.size());
    linesByFirstByte_.assign(256, {});
    for (std::size_t start = 0; start < script.size(); start = lineEnd(script, start) + 1)
        linesByFirstByte_[script[start]].push_back(static_cast<std::int32_t>(start));

    const std::string folded = upperAscii({reinterpret_cast<const char*>(script.data()), script.size()});
    indexLabels(script, folded);
    indexBlocks(script, folded);
}

void LabelIndex::indexLabels(std::span<const std::uint8_t> script, std::string_view folded) {
    labelTargets_.assign(1, -1);
    // Every ":" of a line names a label that runs to the line's NUL; the names
    // of one line are suffixes of each other, so they share one path of the
    // tree read backwards from the NUL. A line without a NUL names none.
    std::size_t start = 0;
    while (start < script.size()) {
        const std::size_t end = lineEnd(script, start);
        if (end == script.size()) break;
        const void* colon = std::memchr(script.data() + start, ':', end - start);
        if (colon) {
            const auto first =
                static_cast<std::size_t>(static_cast<const std::uint8_t*>(colon) - script.data());
            const auto target = static_cast<std::int32_t>(end + 1);
            std::int32_t node = 0;
            for (std::size_t i = end; i-- > first;) {
                // The node spells the bytes i + 1 .. end - 1; earlier lines keep their claim.
                if (script[i] == ':' && labelTargets_[static_cast<std::size_t>(node)] < 0)
                    labelTargets_[static_cast<std::size_t>(node)] = target;
                if (i == first) break;
                node = labelNames_.addChild(node, static_cast<std::uint8_t>(folded[i]));
                if (static_cast<std::size_t>(node) == labelTargets_.size()) labelTargets_.push_back(-1);
            }
        }
        start = end + 1;
    }
}

void LabelIndex::indexBlocks(std::span<const std::uint8_t> script, std::string_view folded) {
    const auto nameAt = [&](std::int32_t line) {
        const auto from = static_cast<std::size_t>(line) + 2;
        return folded.substr(from, lineEnd(script, from) - from);
    };
    for (const std::int32_t line : linesByFirstByte_['}']) {
        const auto pos = static_cast<std::size_t>(line);
        if (pos + 1 < script.size() && script[pos + 1] == ':')
            blockEnds_[std::string(nameAt(line))].push_back(line);
    }

    // Each "{:" line is listed under every prefix of its name: first count the
    // lines under each node, then fill the lists in line order.
    std::vector<std::int32_t> starts;
    std::vector<std::int32_t> lastNode;
    for (const std::int32_t line : linesByFirstByte_['{']) {
        const auto pos = static_cast<std::size_t>(line);
        if (pos + 1 >= script.size() || script[pos + 1] != ':') continue;
        std::int32_t node = 0;
        for (const char c : nameAt(line))
            node = blockStartNames_.addChild(node, static_cast<std::uint8_t>(c));
        starts.push_back(line);
        lastNode.push_back(node);
    }
    const auto nodes = static_cast<std::size_t>(blockStartNames_.size());
    std::vector<std::int32_t> count(nodes + 1, 0);
    for (std::int32_t node : lastNode)
        for (; node >= 0; node = blockStartNames_.parents[static_cast<std::size_t>(node)])
            ++count[static_cast<std::size_t>(node) + 1];
    blockStartFirst_.assign(nodes + 1, 0);
    for (std::size_t n = 0; n < nodes; ++n)
        blockStartFirst_[n + 1] = blockStartFirst_[n] + count[n + 1];
    blockStarts_.assign(static_cast<std::size_t>(blockStartFirst_[nodes]), 0);
    std::vector<std::int32_t> fill(blockStartFirst_.begin(), blockStartFirst_.end() - 1);
    for (std::size_t i = 0; i < starts.size(); ++i)
        for (std::int32_t node = lastNode[i]; node >= 0;
             node = blockStartNames_.parents[static_cast<std::size_t>(node)])
            blockStarts_[static_cast<std::size_t>(fill[static_cast<std::size_t>(node)]++)] = starts[i];
}

std::int32_t LabelIndex::findLabel(std::string_view name) const {
    if (labelTargets_.empty()) return -1;
    const std::string folded = upperAscii(name);
    std::int32_t node = 0;
    for (std::size_t i = folded.size(); i-- > 0 && node >= 0;)
        node = labelNames_.child(node, static_cast<std::uint8_t>(folded[i]));
    return node < 0 ? -1 : labelTargets_[static_cast<std::size_t>(node)];
}

std::int32_t LabelIndex::nextLineStartingWith(std::int32_t from, std::uint8_t byte) const {
    if (linesByFirstByte_.empty()) return -1;
    return firstAtOrAfter(linesByFirstByte_[byte], from);
}

std::int32_t LabelIndex::findNamedBlockEnd(std::int32_t from, std::string_view name) const {
    const auto it = blockEnds_.find(upperAscii(name));
    return it == blockEnds_.end() ? -1 : firstAtOrAfter(it->second, from);
}

std::int32_t LabelIndex::findNamedBlockStart(std::int32_t from, std::string_view name) const {
    if (blockStartFirst_.empty()) return -1;
    std::int32_t node = 0;
    for (const char c : upperAscii(name)) {
        node = blockStartNames_.child(node, static_cast<std::uint8_t>(c));
        if (node < 0) return -1;
    }
    const auto first = blockStarts_.begin() + blockStartFirst_[static_cast<std::size_t>(node)];
    const auto last = blockStarts_.begin() + blockStartFirst_[static_cast<std::size_t>(node) + 1];
    const auto it = std::lower_bound(first, last, from);
    return it == last ? -1 : *it;
}

} // namespace veskar
