#pragma once
// Where a script's labels and block lines are, found once when the script is
// installed so that a jump costs a lookup instead of a scan of the script.
//
// The answers are exactly those of scanning the text from the start: the
// first match wins, and names compare without regard to the case of ASCII
// letters, the second bytes of two-byte characters excepted.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace veskar {

class LabelIndex {
public:
    // Indexes `script` (NUL-separated lines); forgets any earlier script.
    void build(std::span<const std::uint8_t> script);

    // Offset just past the NUL that ends the first ":name" anywhere in the
    // script (the ":" need not start a line, so "{:name" counts), or -1.
    std::int32_t findLabel(std::string_view name) const;
    // Offset of the first line at or after `from` whose first byte is `byte`, or -1.
    std::int32_t nextLineStartingWith(std::int32_t from, std::uint8_t byte) const;
    // Offset of the first line at or after `from` that is "}:" and the name, or -1.
    std::int32_t findNamedBlockEnd(std::int32_t from, std::string_view name) const;
    // Offset of the first line at or after `from` that begins with "{:" and the name, or -1.
    std::int32_t findNamedBlockStart(std::int32_t from, std::string_view name) const;

private:
    // A tree of byte strings: node 0 is the empty string, every other node
    // extends its parent by one byte.
    struct Trie {
        std::unordered_map<std::uint64_t, std::int32_t> children; // (node << 8 | byte) -> node
        std::vector<std::int32_t> parents{-1};

        std::int32_t child(std::int32_t node, std::uint8_t byte) const;
        std::int32_t addChild(std::int32_t node, std::uint8_t byte);
        std::int32_t size() const { return static_cast<std::int32_t>(parents.size()); }
    };

    void indexLabels(std::span<const std::uint8_t> script, std::string_view folded);
    void indexBlocks(std::span<const std::uint8_t> script, std::string_view folded);

    std::int32_t size_ = 0;
    // Line starts by their first byte, each list ascending.
    std::vector<std::vector<std::int32_t>> linesByFirstByte_;
    // Label names read backwards from the NUL that ends them; the target of
    // the first label whose name is the string a node spells, or -1.
    Trie labelNames_;
    std::vector<std::int32_t> labelTargets_;
    // "}:" lines by their folded name, each list ascending.
    std::unordered_map<std::string, std::vector<std::int32_t>> blockEnds_;
    // "{:" lines by the folded prefixes of their name: the lines whose name
    // begins with the string node n spells are blockStarts_[blockStartFirst_[n]
    // .. blockStartFirst_[n + 1]), ascending.
    Trie blockStartNames_;
    std::vector<std::int32_t> blockStartFirst_;
    std::vector<std::int32_t> blockStarts_;
};

} // namespace veskar
