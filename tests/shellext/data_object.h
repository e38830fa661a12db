// The selection as Explorer hands it over to a shell extension. Used by the extension's
// tests and by the menu host that takes its screenshots.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

namespace shellext_test {

// The selection as Explorer hands it over: CF_HDROP with ANSI paths, or with UTF-16 ones
// (as Explorer gives them on Windows NT), or with `offerDrop` false no file-system format at
// all (items of a virtual folder). It lives on the stack; its count starts at its owner's
// reference.
class DataObject : public IDataObject {
public:
    explicit DataObject(std::vector<std::string> paths, bool offerDrop = true)
        : paths_(std::move(paths)), offerDrop_(offerDrop) {}
    explicit DataObject(std::vector<std::wstring> widePaths)
        : widePaths_(std::move(widePaths)), wide_(true), offerDrop_(true) {}
    LONG references() const { return refs_; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&refs_); }
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    std::vector<std::string> paths_;
    std::vector<std::wstring> widePaths_;
    bool wide_ = false;
    bool offerDrop_;
    LONG refs_ = 1;
};

}  // namespace shellext_test
