#pragma once
// Pictures as authors hand them in (PNG, 24-bit BMP) and PNG output, for the
// commands that turn them into packed pictures and back.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/picture.h"

namespace vsktool {

// A .png or .bmp file by its extension (a-z case ignored).
bool isSourcePicture(const std::filesystem::path& path);
// With `alphaToMask`, a PNG with transparency becomes a picture with its mask
// (below for sys_tw and sys_tw1, to the right for everything else) and `note`
// says so.
std::expected<veskar::Picture, std::string>
readSourcePicture(const std::filesystem::path& path, bool alphaToMask = false, std::string* note = nullptr);

// A packed picture entry, or a JPEG when the bytes start like one.
std::expected<veskar::Picture, std::string> decodeStoredPicture(std::span<const std::uint8_t> bytes);

std::expected<void, std::string> writePngFile(const veskar::Picture& picture,
                                              const std::filesystem::path& path);

} // namespace vsktool
