#include "archive/archives.h"

#include <iostream>

#include "core/files.h"
#include "core/sjis.h"

namespace veskar {

namespace fs = std::filesystem;

namespace {

constexpr std::array<int, 1> kSingleSlot{1};
constexpr std::array<int, 3> kPictureSlots{1, 2, 3};
constexpr std::array<int, 5> kWaveSlots{1, 2, 3, 4, 5};
constexpr std::array<int, 3> kEffectSlots{0, 1, 2};
constexpr std::array<int, 3> kOggSlots{1, 2, 3};

// The sets whose indexes OpenArchives builds, in the order it builds them.
constexpr std::array<ArchiveSet, 8> kOpenedSets{
    ArchiveSet::Pictures,  ArchiveSet::JpegPictures, ArchiveSet::WaveSounds, ArchiveSet::SoundEffects,
    ArchiveSet::OggVoices, ArchiveSet::Music,        ArchiveSet::Animations, ArchiveSet::Animations2};

bool isRegularFile(const fs::path& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

bool isAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

} // namespace

Archives::Archives(fs::path gameDir) : gameDir_(std::move(gameDir)) {
    for (int s = 0; s < kArchiveSetCount; ++s)
        indexes_[s].resize(slotsOf(static_cast<ArchiveSet>(s)).size());
}

std::span<const int> Archives::slotsOf(ArchiveSet set) {
    switch (set) {
    case ArchiveSet::Pictures:
        return kPictureSlots;
    case ArchiveSet::WaveSounds:
        return kWaveSlots;
    case ArchiveSet::SoundEffects:
        return kEffectSlots;
    case ArchiveSet::OggVoices:
        return kOggSlots;
    default:
        return kSingleSlot;
    }
}

int Archives::slotPosition(ArchiveSet set, int slot) {
    const auto slots = slotsOf(set);
    for (std::size_t i = 0; i < slots.size(); ++i)
        if (slots[i] == slot) return static_cast<int>(i);
    return -1;
}

std::string Archives::slotFileName(ArchiveSet set, int slot) {
    if (slotPosition(set, slot) < 0) return {};
    const std::string n = std::to_string(slot);
    switch (set) {
    case ArchiveSet::Scripts:
        return "vk_data.vsk";
    case ArchiveSet::ScriptOverrides:
        return "vk_data2.vsk";
    case ArchiveSet::Pictures:
        return slot == 1 ? "vk_gra.vsk" : "vk_gra" + n + ".vsk";
    case ArchiveSet::JpegPictures:
        return "vk_gjp.vsk";
    case ArchiveSet::WaveSounds:
        return "vk_wav" + n + ".vsk";
    case ArchiveSet::SoundEffects:
        return "vk_se" + n + ".vsk";
    case ArchiveSet::OggVoices:
        return "vk_ogg" + n + ".vsk";
    case ArchiveSet::Music:
        return "vk_bgm.vsk";
    case ArchiveSet::Animations:
        return "vk_anim.vsk";
    case ArchiveSet::Animations2:
        return "vk_anim2.vsk";
    }
    return {};
}

bool Archives::discFallbackApplies(ArchiveSet set, int slot, const ShippedArchives& shipped) {
    // Slots count from 1 here, also for the effects whose files count from 0.
    const int position = slotPosition(set, slot) + 1;
    if (position <= 0) return false;
    switch (set) {
    case ArchiveSet::Scripts:
    case ArchiveSet::ScriptOverrides:
        return false;
    case ArchiveSet::Pictures:
        return shipped.VKD_GRA > position - 1;
    case ArchiveSet::JpegPictures:
        return shipped.VKD_GJP != 0;
    case ArchiveSet::WaveSounds:
        return shipped.VKD_WAV > position - 1;
    case ArchiveSet::SoundEffects:
        return shipped.VKD_SE > position - 1;
    case ArchiveSet::OggVoices:
        return shipped.VKD_OGG > position - 1;
    case ArchiveSet::Music:
        return true;
    case ArchiveSet::Animations:
        return shipped.VKD_ANIM >= 1;
    case ArchiveSet::Animations2:
        return shipped.VKD_ANIM >= 2;
    }
    return false;
}

fs::path Archives::discPath(std::string_view CDDir, std::string_view fileName) const {
    // An installer that never ran leaves "NULL"; an empty folder would only
    // name the game folder again.
    if (CDDir == kNoDiscFolder || CDDir.empty()) return {};
    std::string_view prefix = CDDir;
    if (prefix.back() == '\\') prefix.remove_suffix(1);
    // The setting is Shift-JIS like all engine text; the file system wants UTF-8.
    std::string joined = isAscii(prefix) ? std::string(prefix) : cp932ToUtf8(prefix);
    joined += fileName;
    fs::path path(joined);
    return path.is_relative() ? gameDir_ / path : path;
}

const ArchiveIndex& Archives::index(ArchiveSet set, int slot) const {
    const int position = slotPosition(set, slot);
    if (position < 0) return noIndex_;
    return indexes_[static_cast<std::size_t>(set)][static_cast<std::size_t>(position)];
}

ArchiveIndex Archives::readIndex(const fs::path& path, ArchiveLayout layout) const {
    if (!isRegularFile(path)) return {};
    auto parsed = readArchiveIndex(path, layout);
    if (!parsed) {
        // It exists but cannot be read: a fault of the installation, not of the game.
        std::cerr << "veskar: " << parsed.error() << "\n";
        return {};
    }
    if (!parsed->problems.empty())
        std::cerr << "veskar: " << describeIndexProblems(path, parsed->problems) << "\n";
    parsed->index.path = path;
    return std::move(parsed->index);
}

void Archives::LoadScriptIndexes() {
    for (ArchiveSet set : {ArchiveSet::Scripts, ArchiveSet::ScriptOverrides})
        indexes_[static_cast<std::size_t>(set)][0] =
            readIndex(gameDir_ / slotFileName(set, 1), ArchiveLayout::Script);
}

void Archives::OpenArchives(const ShippedArchives& shipped, std::string_view CDDir) {
    for (ArchiveSet set : kOpenedSets) {
        const auto slots = slotsOf(set);
        for (std::size_t i = 0; i < slots.size(); ++i) {
            const std::string fileName = slotFileName(set, slots[i]);
            fs::path path = gameDir_ / fileName;
            if (!isRegularFile(path) && discFallbackApplies(set, slots[i], shipped))
                path = discPath(CDDir, fileName);
            indexes_[static_cast<std::size_t>(set)][i] = readIndex(path, ArchiveLayout::General);
        }
    }
}

std::optional<EntryLocation> Archives::FindEntry(std::span<const SlotRef> order,
                                                 std::string_view name) const {
    for (const SlotRef& ref : order) {
        const ArchiveIndex& slot = index(ref.set, ref.slot);
        if (slot.path.empty()) continue;
        const int i = slot.find(name);
        if (i < 0) continue;
        const auto at = static_cast<std::size_t>(i);
        return EntryLocation{ref.set, ref.slot, slot.path, slot.offsets[at], slot.sizes[at]};
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> Archives::readEntry(const EntryLocation& entry) const {
    auto bytes = readFileRange(entry.path, entry.offset, entry.size);
    if (!bytes) {
        std::cerr << "veskar: " << bytes.error() << "\n";
        return std::nullopt;
    }
    return std::move(*bytes);
}

bool Archives::scriptArchiveExists() const {
    return isRegularFile(gameDir_ / slotFileName(ArchiveSet::Scripts, 1));
}

bool Archives::firstPictureArchiveExists() const { return !index(ArchiveSet::Pictures, 1).path.empty(); }

} // namespace veskar
