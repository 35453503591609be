#pragma once

namespace vistrel {

// Plays the shutter click stored in the program (raw data resource "CLICK") to its end.
// Without a sound device, or without the resource, nothing is heard and nothing reported.
void PlayClickSound();

} // namespace vistrel
