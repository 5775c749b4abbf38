#pragma once
// Writes an engine picture as an 8-bit RGB PNG, and reads one back.

#include <expected>
#include <filesystem>
#include <string>

#include "core/picture.h"

namespace veskar {

std::expected<void, std::string> writePng(const Picture& picture, const std::filesystem::path& path);
std::expected<Picture, std::string> readPng(const std::filesystem::path& path);

} // namespace veskar
