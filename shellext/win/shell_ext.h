// ZurimoShellExt: the context-menu handler Explorer makes for one right-click. It takes the
// selection, puts the "Zurimo!" popup into Explorer's menu, runs the chosen command and, when
// it goes, takes its popup out again.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "shellext/selection.h"
#include "shellext/shell_settings.h"

namespace zurimo {

// The object's own interface: nothing beyond IUnknown.
extern const IID IID_IZurimoShellExt;

class ZurimoShellExt final : public IShellExtInit, public IContextMenu {
public:
    // With `outer`, the object is part of that object (aggregation): its interfaces count
    // references on the outer object, and only `Inner` is its own.
    explicit ZurimoShellExt(IUnknown* outer);
    IUnknown* Inner() { return &inner_; }

    // IUnknown of the interfaces: the outer object's, or the inner one's.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data,
                                         HKEY progId) override;
    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst,
                                               UINT idCmdLast, UINT flags) override;
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR offset, UINT type, UINT* reserved,
                                               CHAR* buffer, UINT size) override;

private:
    class InnerUnknown final : public IUnknown {
    public:
        explicit InnerUnknown(ZurimoShellExt& object) : object_(object) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;

    private:
        ZurimoShellExt& object_;
        ULONG refs_ = 1;
    };

    ~ZurimoShellExt();
    // QueryContextMenu's work, which may throw.
    HRESULT AddPopup(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast, UINT flags);
    // Whether `offset` is one of the commands of the popup put into Explorer's menu.
    bool IsCommand(UINT_PTR offset) const;

    InnerUnknown inner_;
    IUnknown* outer_;
    HMENU hostMenu_ = nullptr;
    HMENU ownPopup_ = nullptr;
    std::vector<int> commands_;  // the offsets of the popup's commands
    Selection selection_;
    ShellSettings settings_;
};

}  // namespace zurimo
