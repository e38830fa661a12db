// The class factory of ZurimoShellExt. One factory is made on the first request and kept
// until the library unloads; that reference of its own holds no lock, every other does.
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace zurimo {

class ShellExtFactory final : public IClassFactory {
public:
    // The library's one factory, made on first use; null when memory ran out.
    static ShellExtFactory* Cached();
    // Lets go of the cached factory, when the library unloads.
    static void ReleaseCached();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    ShellExtFactory();
    ~ShellExtFactory();

    SRWLOCK lock_ = SRWLOCK_INIT;
    ULONG refs_ = 1;  // the cache's own reference
};

}  // namespace zurimo
