#include "tests/native/support/allocation_peak.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> held{0};
std::atomic<size_t> peak{0};

// Each block starts with its size, kept at the alignment operator new promises.
constexpr size_t kHeader = __STDCPP_DEFAULT_NEW_ALIGNMENT__;

void* Allocate(size_t size) noexcept {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block)
        return nullptr;
    *reinterpret_cast<size_t*>(block) = size;
    const size_t now = held.fetch_add(size) + size;
    size_t most = peak.load();
    while (now > most && !peak.compare_exchange_weak(most, now)) {
    }
    return block + kHeader;
}

void Release(void* p) noexcept {
    if (!p)
        return;
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    held.fetch_sub(*reinterpret_cast<size_t*>(block));
    std::free(block);
}

void* AllocateOrThrow(size_t size) {
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}

} // namespace

void* operator new(size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, size_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}

namespace testing_support {

AllocationPeak::AllocationPeak() : held_(held.load()) {
    peak.store(held_);
}

size_t AllocationPeak::Bytes() const {
    return peak.load() - held_;
}

} // namespace testing_support
