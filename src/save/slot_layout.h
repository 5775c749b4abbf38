#pragma once
// The fixed layout of a slot file ("save/saveNN.dat"): where each block
// starts and how long it is. Every block is written and read in this order.

#include <cstddef>

namespace veskar::slot {

constexpr std::size_t kHeader = 0, kHeaderSize = 128;
constexpr std::size_t kHeaderTextSize = 94; // date, time and chapter title
constexpr std::size_t kCommentAt = 96, kCommentSize = 32;
constexpr std::size_t kBankF = 128, kBankFSize = 128;
constexpr std::size_t kReserved = 256, kReservedSize = 1024;
constexpr std::size_t kBankV = 1280, kBankVCount = 1000;
constexpr std::size_t kBankS = 5280, kBankSCount = 200;
constexpr std::size_t kReadMarks = 6080, kReadMarksSize = 10240;
constexpr std::size_t kBankT = 16320, kBankTSize = 1250;
constexpr std::size_t kInterpreterRecord = 17570, kInterpreterWords = 64;
constexpr std::size_t kBacklog = 17826, kBacklogLines = 200, kBacklogLineSize = 70;
constexpr std::size_t kLineBuffer = 31826, kLineBufferSize = 2048;
constexpr std::size_t kNamesRecord = 33874, kNamesRecordSize = 1024;
constexpr std::size_t kStringTable = 34898, kStringSlotSize = 64;
constexpr std::size_t kPageGrid = 35538, kPageGridSize = 2000;
constexpr std::size_t kSecondGrid = 37538;
constexpr std::size_t kPageHistory = 39538, kHistoryPages = 50;
constexpr std::size_t kHistoryTextSize = 2000;
constexpr std::size_t kHistoryOverlayOpacity = 139538;
constexpr std::size_t kHistorySlotX = 139738;
constexpr std::size_t kHistorySlotY = 141738;
constexpr std::size_t kHistoryPictures = 143738, kHistoryPictureSize = 128;
constexpr std::size_t kHistoryVoices = 150138, kHistoryVoiceSize = 256;
constexpr std::size_t kHistoryFullScreen = 162938;
constexpr std::size_t kThumbnail = 163138, kThumbnailWidth = 160, kThumbnailHeight = 120;
constexpr std::size_t kFileSize = 220738;

// Fields of the names record, in bytes.
constexpr std::size_t kNameSize = 30;
constexpr std::size_t kSpriteListSize = 60;
constexpr std::size_t kNameplateSize = 20;

static_assert(kThumbnail + kThumbnailWidth * kThumbnailHeight * 3 == kFileSize);
static_assert(kInterpreterRecord + kInterpreterWords * 4 == kBacklog);
static_assert(kBacklog + kBacklogLines * kBacklogLineSize == kLineBuffer);

} // namespace veskar::slot
