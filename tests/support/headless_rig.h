#pragma once
// An engine on the headless host, for tests that drive its handlers directly.

#include <filesystem>
#include <memory>

#include "backends/headless/headless_host.h"
#include "backends/headless/ini_settings_store.h"
#include "backends/headless/virtual_audio_device.h"
#include "shell/engine.h"

namespace veskar::test {

struct HeadlessRig {
    explicit HeadlessRig(std::filesystem::path gameDir = {}, HeadlessOptions options = {},
                         std::uint32_t seed = 1)
        : host(std::move(options)), store(std::nullopt), audio(host.clock()),
          engine(Platform{host, host.clock(), store, audio, nullptr},
                 EngineOptions{std::move(gameDir), seed}) {
        host.attach(engine);
    }

    HeadlessHost host;
    IniSettingsStore store;
    VirtualAudioDevice audio;
    Engine engine;
};

// A fresh empty folder under the system's temp folder, removed at destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace veskar::test
