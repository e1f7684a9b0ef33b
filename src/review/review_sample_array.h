#pragma once
// The array that holds a review recording's samples. A 24-hour recording is 35 MB: its elements
// are left uninitialised on resize (the loader reads the file straight into them, and zeroing
// first would cost as much as the read), and on Linux a large array asks for transparent huge
// pages, which cuts the page faults of filling it from thousands to a few dozen.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace somatrix {

template <typename T>
struct CSampleAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = CSampleAllocator<U>;
    };
    CSampleAllocator() = default;
    template <typename U>
    CSampleAllocator(const CSampleAllocator<U>&) noexcept {}

    T* allocate(size_t n) {
#ifdef __linux__
        if (n * sizeof(T) >= kHugeFrom) {
            void* p = nullptr;
            if (n > SIZE_MAX / sizeof(T) || ::posix_memalign(&p, kHugePage, n * sizeof(T)) != 0) {
                throw std::bad_alloc();
            }
            ::madvise(p, (n * sizeof(T) + kHugePage - 1) / kHugePage * kHugePage, MADV_HUGEPAGE);
            return static_cast<T*>(p);
        }
#endif
        return std::allocator<T>::allocate(n);
    }
    void deallocate(T* p, size_t n) noexcept {
#ifdef __linux__
        if (n * sizeof(T) >= kHugeFrom) {
            std::free(p);
            return;
        }
#endif
        std::allocator<T>::deallocate(p, n);
    }
    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    static constexpr size_t kHugePage = size_t{2} << 20;
    static constexpr size_t kHugeFrom = size_t{4} << 20;
};

template <typename T, typename U>
bool operator==(const CSampleAllocator<T>&, const CSampleAllocator<U>&) noexcept {
    return true;
}

using CSampleArray = std::vector<uint16_t, CSampleAllocator<uint16_t>>;

}  // namespace somatrix
