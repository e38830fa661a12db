// Owners for what COM hands out: an interface pointer, a block of the task allocator (such
// as an item identifier list), and a storage medium. Each gives back what it holds when it
// goes and is never copied.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <utility>

namespace zurimo {

// One reference to an interface, released when this goes; std::move hands it on.
template <typename T>
class Com {
public:
    Com() = default;
    explicit Com(T* p) : p_(p) {}  // takes over a reference the caller holds
    ~Com() { reset(); }
    Com(Com&& other) noexcept : p_(other.release()) {}
    Com& operator=(Com&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For a call that hands out a new reference through a void**: what was held goes first.
    void** out() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    [[nodiscard]] T* release() { return std::exchange(p_, nullptr); }
    void reset(T* p = nullptr) {
        T* old = std::exchange(p_, p);
        if (old) old->Release();
    }

private:
    T* p_ = nullptr;
};

// A block of the COM task allocator (an item identifier list from the shell, a string),
// freed with CoTaskMemFree when this goes.
template <typename T>
class CoTaskMemory {
public:
    CoTaskMemory() = default;
    ~CoTaskMemory() { reset(); }
    CoTaskMemory(const CoTaskMemory&) = delete;
    CoTaskMemory& operator=(const CoTaskMemory&) = delete;

    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For a call that hands out a new block: what was held goes first.
    T** out() {
        reset();
        return &p_;
    }
    void reset() { CoTaskMemFree(std::exchange(p_, nullptr)); }

private:
    T* p_ = nullptr;
};

// A medium that IDataObject::GetData filled, given back with ReleaseStgMedium.
class StgMedium {
public:
    StgMedium() = default;
    ~StgMedium() { reset(); }
    StgMedium(const StgMedium&) = delete;
    StgMedium& operator=(const StgMedium&) = delete;

    const STGMEDIUM& get() const { return medium_; }
    // For GetData to fill: what was held goes first.
    STGMEDIUM* out() {
        reset();
        return &medium_;
    }
    void reset() {
        if (medium_.tymed != TYMED_NULL) ReleaseStgMedium(&medium_);
        medium_ = {};
    }

private:
    STGMEDIUM medium_ = {};
};

}  // namespace zurimo
