#pragma once
// The desktop's sound output until playback arrives: it reports a device, so
// the engine takes the same paths it will take once sound is played.

#include "platform/audio_device.h"

namespace veskar {

class DesktopAudioDevice : public AudioDevice {
public:
    bool hasOutput() override { return true; }
};

} // namespace veskar
