#pragma once
// Temporary photo files that a run killed in the middle of a photo (or a power cut, or a
// log-off during a save) left in the Photos folder.

#include <string>

namespace vistrel {

// Deletes every plain "~vistrel-*.tmp" file of the folder (with or without a trailing
// separator) that no running copy of the program holds. A running copy holds its
// temporary file open without sharing, so deleting it fails; that failure, and any other,
// is passed over. Nothing else is touched: other names, folders, hidden and system files.
void RemoveLeftoverTemporaryFiles(const std::wstring& photosFolder);

} // namespace vistrel
