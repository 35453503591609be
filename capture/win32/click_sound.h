#pragma once

namespace vistrel {

// Starts the shutter click stored in the program (raw data resource "CLICK") and returns.
// Without a sound device, or without the resource, nothing is heard and nothing reported.
void PlayClickSound();

} // namespace vistrel
