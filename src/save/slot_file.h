#pragma once
// A slot file as bytes: the engine's saved state laid out in the slot
// layout, and the same state read back from such bytes.

#include <cstdint>
#include <ctime>
#include <expected>
#include <span>
#include <string>
#include <vector>

namespace veskar {

class Engine;

// "%04d/%02d/%02d %02d:%02d:%02d  %s": the header's date, time and chapter title.
std::string slotHeaderText(const std::tm& local, std::string_view title);

// Where the script goes on once a slot file's state is back in place.
struct ResumePoint {
    std::int32_t readPos = 0;
    bool needLine = true;
    bool scriptRunning = true;
};

// The slot file of the state the engine is in now, with `headerText` as the
// header's text (see slotHeaderText).
std::vector<std::uint8_t> writeSlotFile(Engine& engine, std::string_view headerText);

// Puts the state held in `bytes` back into the engine's subsystems; the
// position to resume from is returned, not applied (the script must be loaded
// first). Fails, changing nothing, when `bytes` is not a slot file's size.
std::expected<ResumePoint, std::string> readSlotFile(std::span<const std::uint8_t> bytes, Engine& engine);

// After readSlotFile: loads the saved script again, puts the scene back on
// the screen and resumes at `resume`. False when the script is gone.
bool resumeSavedGame(Engine& engine, const ResumePoint& resume);

} // namespace veskar
