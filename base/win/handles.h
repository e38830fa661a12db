// Move-only owners for the Windows resources the program holds: each releases what it
// owns when it goes, can be handed on with std::move, and is never copied.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <utility>

namespace zurimo {

template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { reset(); }
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Invalid(); }
    [[nodiscard]] Type release() { return std::exchange(value_, Traits::Invalid()); }
    void reset(Type value = Traits::Invalid()) {
        Type old = std::exchange(value_, value);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Type value_ = Traits::Invalid();
};

struct HandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};
struct FileTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
struct HKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};
struct HGlobalTraits {
    using Type = HGLOBAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { GlobalFree(h); }
};
struct HMenuTraits {
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DestroyMenu(h); }
};
struct LibraryTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};

struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};
struct GlobalAtomTraits {
    using Type = ATOM;
    static Type Invalid() { return 0; }
    static void Close(Type atom) { GlobalDeleteAtom(atom); }
};

using UniqueHandle = UniqueResource<HandleTraits>;
using UniqueFile = UniqueResource<FileTraits>;
using UniqueHKey = UniqueResource<HKeyTraits>;
using UniqueHGlobal = UniqueResource<HGlobalTraits>;
using UniqueHMenu = UniqueResource<HMenuTraits>;
using UniqueLibrary = UniqueResource<LibraryTraits>;
using UniqueGlobalAtom = UniqueResource<GlobalAtomTraits>;
using UniqueFind = UniqueResource<FindTraits>;

// A state this thread is in (clipboard open, OLE initialised, block locked) until the
// derived class's `Leave` ends it; moving hands the duty on.
template <typename Derived>
class ScopedState {
public:
    ScopedState(ScopedState&& other) noexcept : active_(std::exchange(other.active_, false)) {}
    ScopedState& operator=(ScopedState&& other) noexcept {
        if (this != &other) {
            End();
            active_ = std::exchange(other.active_, false);
        }
        return *this;
    }
    ScopedState(const ScopedState&) = delete;
    ScopedState& operator=(const ScopedState&) = delete;
    explicit operator bool() const { return active_; }

protected:
    explicit ScopedState(bool active) : active_(active) {}
    ~ScopedState() = default;
    void End() {
        if (std::exchange(active_, false)) static_cast<Derived*>(this)->Leave();
    }

private:
    bool active_;
};

// Opens the clipboard; another program may hold it for a moment, so a few tries are made
// within about a tenth of a second.
inline bool OpenClipboardPatiently(HWND owner) {
    for (int i = 0;; ++i) {
        if (OpenClipboard(owner)) return true;
        if (i == 4) return false;
        Sleep(20);
    }
}

// The clipboard, open for as long as this object lives.
class ClipboardOpen : public ScopedState<ClipboardOpen> {
public:
    explicit ClipboardOpen(HWND owner) : ScopedState(OpenClipboardPatiently(owner)) {}
    ~ClipboardOpen() { End(); }
    ClipboardOpen(ClipboardOpen&&) noexcept = default;
    ClipboardOpen& operator=(ClipboardOpen&&) noexcept = default;

private:
    friend ScopedState<ClipboardOpen>;
    void Leave() { CloseClipboard(); }
};

// OLE, initialised on this thread for as long as this object lives.
class OleInitialization : public ScopedState<OleInitialization> {
public:
    OleInitialization() : ScopedState(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleInitialization() { End(); }
    OleInitialization(OleInitialization&&) noexcept = default;
    OleInitialization& operator=(OleInitialization&&) noexcept = default;

private:
    friend ScopedState<OleInitialization>;
    void Leave() { OleUninitialize(); }
};

// A locked global memory block, unlocked when this object goes.
class GlobalLockGuard : public ScopedState<GlobalLockGuard> {
public:
    explicit GlobalLockGuard(HGLOBAL block) : GlobalLockGuard(block, GlobalLock(block)) {}
    ~GlobalLockGuard() { End(); }
    GlobalLockGuard(GlobalLockGuard&& other) noexcept = default;
    GlobalLockGuard& operator=(GlobalLockGuard&& other) noexcept = default;
    void* get() const { return data_; }

private:
    friend ScopedState<GlobalLockGuard>;
    void Leave() { GlobalUnlock(block_); }
    GlobalLockGuard(HGLOBAL block, void* data)
        : ScopedState(data != nullptr), block_(block), data_(data) {}
    HGLOBAL block_;
    void* data_;
};

// A critical section with scoped entry. It stays where it was made (the system keeps its
// address), so it can be neither copied nor moved.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    class Lock {
    public:
        explicit Lock(CriticalSection& cs) : cs_(cs) { EnterCriticalSection(&cs_.section_); }
        ~Lock() { LeaveCriticalSection(&cs_.section_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        CriticalSection& cs_;
    };

private:
    CRITICAL_SECTION section_;
};

}  // namespace zurimo
