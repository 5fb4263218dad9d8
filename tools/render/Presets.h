// The effect's factory presets as seen from the host side. The effect shows
// a host a single program, so a preset is loaded the way a host restores a
// program it saved as values: every slot through setParameter, then the
// program applied, which lets the effect recognise the preset by the name
// coded into its slots and reset its engine.
#pragma once

#include <optional>
#include <string>

namespace render {

class EffectHost;

// any
int presetCount();

// The name coded into preset n's slots; empty outside 0 .. presetCount() − 1.
// any
std::string presetName(int n);

// A preset by number, by exact name, or else by a name differing only in
// case when just one preset has it.
// any
std::optional<int> findPreset(const std::string& numberOrName);

// control
void applyPreset(EffectHost& host, int n);

}  // namespace render
