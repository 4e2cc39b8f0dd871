// Shared by the hostile-settings tests and the settings fuzzer: putting the
// effects back to a known start, showing all of them, and looking for a
// position that is no longer finite. Needs no test framework.
#pragma once

#include <string>

#include "scene/scene_state.h"

namespace quorbel::testing {

// `baseline` as the scene, the record's buffers zeroed, the random sequence
// restarted, the stars and fire made afresh, and the 30,000 particles too
// when `particles` says so (the dearest part, which a long sweep may keep).
void RestartEffects(const SceneState& baseline, bool particles = true);
// Every effect visible (the tunnel rebuilt); what is shown is not part of a
// settings record.
void ShowEveryEffect();
// The first position the renderer uses that is NaN or infinite, described
// ("particle position = nan"); empty when all are finite.
std::string NonFinitePosition();

}  // namespace quorbel::testing
