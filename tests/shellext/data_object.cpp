#include "data_object.h"

#include <cstring>

#include "base/win/handles.h"

namespace shellext_test {

STDMETHODIMP DataObject::QueryInterface(REFIID iid, void** out) {
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDataObject) return E_NOINTERFACE;
    *out = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP DataObject::QueryGetData(FORMATETC* format) {
    if (!offerDrop_ || format->cfFormat != CF_HDROP) return DV_E_FORMATETC;
    return (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_TYMED;
}

STDMETHODIMP DataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    HRESULT offered = QueryGetData(format);
    if (offered != S_OK) return offered;
    // DROPFILES, then each path with its NUL, then one more NUL.
    std::string list;
    if (wide_) {
        std::wstring wide;
        for (const std::wstring& path : widePaths_) wide += path + L'\0';
        wide += widePaths_.empty() ? std::wstring(2, L'\0') : std::wstring(1, L'\0');
        list.assign(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
    } else {
        for (const std::string& path : paths_) list += path + '\0';
        list += paths_.empty() ? std::string(2, '\0') : std::string(1, '\0');
    }
    zurimo::UniqueHGlobal block(GlobalAlloc(GHND, sizeof(DROPFILES) + list.size()));
    if (!block) return E_OUTOFMEMORY;
    {
        zurimo::GlobalLockGuard lock(block.get());
        static_cast<DROPFILES*>(lock.get())->pFiles = sizeof(DROPFILES);
        static_cast<DROPFILES*>(lock.get())->fWide = wide_;
        memcpy(static_cast<char*>(lock.get()) + sizeof(DROPFILES), list.data(), list.size());
    }
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block.release();
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

}  // namespace shellext_test
