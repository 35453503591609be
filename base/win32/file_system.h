#pragma once
// The few file-system facts the shell needs, in the system's own terms.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

// The executable's full path.
std::wstring ProgramPath();
// The folder part of a path, with its trailing separator ("C:\Vistrel\").
std::wstring FolderOf(std::wstring_view path);
std::wstring FileNameOf(std::wstring_view path);

// Upper-cases a file name as the file system compares names (letter case ignored).
std::wstring FoldFileName(std::wstring_view name);
void FoldFileNameInPlace(std::wstring& name);
bool SameFileName(std::wstring_view a, std::wstring_view b);

bool FileExists(const std::wstring& path);

// Reads the open file into bytes, which has the file's size: a file that shrank while read
// leaves bytes as long as what was read. False on a read error (GetLastError tells it).
bool ReadWholeFile(HANDLE file, std::vector<uint8_t>& bytes);

// The system's directory query (NtQueryDirectoryFile), replaceable where a test needs a
// folder that fails part-way.
using QueryDirectoryFunction = LONG(NTAPI*)(HANDLE, HANDLE, void*, void*, void*, void*, ULONG, int,
                                            BOOLEAN, void*, BOOLEAN);
QueryDirectoryFunction SystemQueryDirectory();

// Names of the plain files of a folder (no folders, no hidden or system files), read in
// large batches. Throws Error ("Cannot open folder "%s". %s" or "Cannot read folder "%s".
// %s", with the system's reason) rather than give a partial list.
std::vector<std::wstring> ListPlainFiles(const std::wstring& folder,
                                         QueryDirectoryFunction query = SystemQueryDirectory());

// The system's text for an error code, without the trailing line break; "%1" in it (some
// texts name the file concerned) is replaced by the insert when there is one.
std::wstring SystemErrorText(DWORD code, std::wstring_view insert = {});

} // namespace vistrel
