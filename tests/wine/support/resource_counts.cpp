#include "tests/wine/support/resource_counts.h"

#include <windows.h>

#include <winternl.h>

#include <vector>

namespace testing_support {

namespace {

// An entry of the GDI handle table the system maps into each process (the PEB points to
// it): in use when its type is not 0.
struct GdiHandleEntry {
    UINT64 object;
    USHORT processId;
    USHORT count;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr int kGdiHandles = 0x10000;
constexpr size_t kPebGdiTable = 0xF8;

struct SystemHandle {
    ULONG ownerPid;
    UCHAR objectType;
    UCHAR flags;
    USHORT value;
    PVOID object;
    ULONG access;
};
struct SystemHandles {
    ULONG count;
    SystemHandle handles[1];
};

} // namespace

int GdiObjectCount() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<int>(n);
    using QueryProcess = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (!query ||
        query(GetCurrentProcess(), 0 /*ProcessBasicInformation*/, &info, sizeof info, nullptr) < 0)
        return -1;
    auto* peb = reinterpret_cast<char*>(info.PebBaseAddress);
    auto* table = *reinterpret_cast<GdiHandleEntry**>(peb + kPebGdiTable);
    if (!table)
        return -1;
    const USHORT pid = static_cast<USHORT>(GetCurrentProcessId());
    int n = 0;
    for (int i = 0; i < kGdiHandles; ++i)
        if (table[i].type && (table[i].processId == pid || table[i].processId == 0))
            ++n;
    return n;
}

int KernelHandleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count)
        return static_cast<int>(count);
    using Query = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<char> buffer(4 << 20);
    ULONG length = 0;
    if (!query || query(16 /*SystemHandleInformation*/, buffer.data(),
                        static_cast<ULONG>(buffer.size()), &length) < 0)
        return -1;
    auto* all = reinterpret_cast<SystemHandles*>(buffer.data());
    const DWORD pid = GetCurrentProcessId();
    int n = 0;
    for (ULONG i = 0; i < all->count; ++i)
        if (all->handles[i].ownerPid == pid)
            ++n;
    return n;
}

} // namespace testing_support
