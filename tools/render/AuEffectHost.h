// Tidewalker's Audio Unit adapter as the renderer's effect: driven through
// the Audio Unit host simulator the way a host drives the unit, so a render
// can be compared with the same render through the VST interface.
#pragma once

#include <memory>
#include <string>

#include "tools/auhost/AuHost.h"
#include "tools/render/EffectHost.h"

namespace render {

class AuEffectHost final : public EffectHost {
public:
    // control; null with a message when the unit does not open.
    static std::unique_ptr<AuEffectHost> load(double sampleRate, int maxBlockSize, std::string& error);

    void open() override;
    bool setRandomSeed(std::uint32_t seed) override;  // control
    void resume() override;
    void suspend() override;
    EffectInfo info() const override;
    int parameterCount() const override;
    std::string parameterName(int index) const override;
    // The unit's value text: display and label in one.
    std::string parameterDisplay(int index) const override;
    std::string parameterLabel(int) const override { return {}; }
    float parameter(int index) const override;
    void setParameter(int index, float value) override;
    void setProgram(int program) override;
    void reserveEvents(std::size_t) override {}
    void setTime(const TransportState& transport, double tempo) noexcept override;
    void sendEvents(std::span<const ScheduledMidi> midi, std::int64_t blockStart) noexcept override;
    void process(const float* left, const float* right, float* outLeft, float* outRight, int frames) noexcept override;
    int blockSize() const override { return maxFrames; }

private:
    AuEffectHost(std::unique_ptr<tidewalker::auhost::AuHost> host, double sampleRate, int maxBlockSize)
        : host(std::move(host)), rate(sampleRate), maxFrames(maxBlockSize) {}

    std::unique_ptr<tidewalker::auhost::AuHost> host;
    double rate;
    int maxFrames;
};

}  // namespace render
