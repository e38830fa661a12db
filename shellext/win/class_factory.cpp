#include "shellext/win/class_factory.h"

#include <new>

#include "base/win/com.h"
#include "shellext/win/module.h"
#include "shellext/win/shell_ext.h"

namespace zurimo {
namespace {

// The cache and its lock. The lock is set up statically: taking it never allocates, and it
// is ready before anything in the library runs.
ShellExtFactory* g_cached = nullptr;
SRWLOCK g_cacheLock = SRWLOCK_INIT;

// Holds an SRW lock exclusively for as long as it lives.
class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& lock_;
};

}  // namespace

ShellExtFactory::ShellExtFactory() = default;
ShellExtFactory::~ShellExtFactory() = default;

ShellExtFactory* ShellExtFactory::Cached() {
    ExclusiveLock lock(g_cacheLock);
    if (!g_cached) g_cached = new (std::nothrow) ShellExtFactory();
    return g_cached;
}

void ShellExtFactory::ReleaseCached() {
    ExclusiveLock lock(g_cacheLock);
    if (g_cached) g_cached->Release();
    g_cached = nullptr;
}

HRESULT STDMETHODCALLTYPE ShellExtFactory::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

// The cache's reference holds no lock: the first outside reference takes one, and the last
// outside release gives it back.
ULONG STDMETHODCALLTYPE ShellExtFactory::AddRef() {
    ExclusiveLock lock(lock_);
    if (++refs_ == 2) LockModule();
    return refs_;
}

ULONG STDMETHODCALLTYPE ShellExtFactory::Release() {
    ULONG left;
    {
        ExclusiveLock lock(lock_);
        left = --refs_;
        if (left == 1) UnlockModule();
    }
    if (left == 0) delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE ShellExtFactory::CreateInstance(IUnknown* outer, REFIID riid,
                                                          void** out) {
    return NoThrow([&] {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
        // The object goes again when nothing was handed out.
        Com<IUnknown> object((new ZurimoShellExt(outer))->Inner());
        return object->QueryInterface(riid, out);
    });
}

HRESULT STDMETHODCALLTYPE ShellExtFactory::LockServer(BOOL lock) {
    lock ? LockModule() : UnlockModule();
    return S_OK;
}

}  // namespace zurimo
