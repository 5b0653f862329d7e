#pragma once

// How a software update progress report from the appliance changes the update page. No Qt.

#include "res/StringIds.h"

#include <array>
#include <cstdint>
#include <optional>

namespace qv::update {

// The appliance updates its programs in eight stages: relay server, center.exe, client.exe,
// watch dog, Active-X, setting program, CGI, and the final step.
inline constexpr int kStepCount = 8;

// The name of each stage's row, in stage order.
inline constexpr std::array<StringId, kStepCount> kStepNames{
    StringId::UpdateRelayServer, StringId::UpdateCenterProgram, StringId::UpdateClientProgram,
    StringId::UpdateWatchDog,    StringId::UpdateActiveX,       StringId::UpdateSettingProgram,
    StringId::UpdateCgi,         StringId::UpdateFinalStep,
};

enum class StepState { Start, Finished };

struct ProgressEffect {
    // New state of each stage's status field; nullopt leaves the field as it is.
    std::array<std::optional<StepState>, kStepCount> steps{};
    // The run is over: the Update start button is enabled again.
    bool runEnded = false;
    // The message to show, if any.
    std::optional<StringId> message;
};

// Progress value v: 0..7 finish the stages before v and start stage v; 8 finishes every stage;
// 99 means the appliance could not reach the update server. Other values change nothing.
inline ProgressEffect progressEffect(int32_t v) {
    ProgressEffect effect;
    if (v >= 0 && v < kStepCount) {
        for (int32_t i = 0; i < v; ++i)
            effect.steps[static_cast<size_t>(i)] = StepState::Finished;
        effect.steps[static_cast<size_t>(v)] = StepState::Start;
    } else if (v == kStepCount) {
        effect.steps.fill(StepState::Finished);
        effect.runEnded = true;
        effect.message = StringId::UpdateFinished;
    } else if (v == 99) {
        effect.runEnded = true;
        effect.message = StringId::UpdateServerUnreachable;
    }
    return effect;
}

} // namespace qv::update
