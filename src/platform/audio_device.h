#pragma once
// The sound output. The desktop plays through OpenAL; headless runs use a
// simulated device that keeps time and plays nothing.

namespace veskar {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // Whether any output device exists.
    virtual bool hasOutput() = 0;
};

} // namespace veskar
