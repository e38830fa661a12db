#include "shellext/win/shell_ext.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/win/clipboard_text.h"
#include "base/win/com.h"
#include "base/win/handles.h"
#include "base/win/win_code_page.h"
#include "base/win/win_registry.h"
#include "base/win/win_text.h"
#include "resources/zurimo_ex_ids.h"
#include "shellext/commands.h"
#include "shellext/shell_menu.h"
#include "shellext/win/module.h"
#include "shellext/win/win_shell_facts.h"

namespace zurimo {

// {7A31C2E3-5B6D-4E8F-9A0B-1C2D3E4F5A6B}
const IID IID_IZurimoShellExt = {0x7A31C2E3, 0x5B6D, 0x4E8F,
                                 {0x9A, 0x0B, 0x1C, 0x2D, 0x3E, 0x4F, 0x5A, 0x6B}};

namespace {

constexpr int kCaptionBuffer = 40;
constexpr int kHelpBuffer = 80;

std::string LoadText(int id, int buffer) {
    return ResourceString(ModuleHandle(), static_cast<UINT>(id), buffer);
}

// Path `index` of the drop as Windows gives it to wide calls; nothing when it cannot be had.
std::optional<std::u16string> WidePath(HDROP drop, UINT index) {
    UINT length = DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0) return std::nullopt;
    std::u16string path(length + 1, u'\0');
    UINT got = DragQueryFileW(drop, index, reinterpret_cast<wchar_t*>(&path[0]), length + 1);
    if (got == 0) return std::nullopt;
    path.resize(got);
    return path;
}

HRESULT IdentifiersUsed(int count) {
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, static_cast<unsigned>(count));
}

// Appends the planned entries to `menu`; a submenu that cannot be made is left out.
// `menu` is held by an owner: when an allocation fails, everything made so far goes with it.
void Append(HMENU menu, const std::vector<ShellMenuEntry>& entries, UINT idCmdFirst) {
    for (const ShellMenuEntry& entry : entries) {
        switch (entry.kind) {
        case ShellMenuEntry::Kind::kSeparator:
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            break;
        case ShellMenuEntry::Kind::kCommand: {
            std::string caption =
                entry.captionId ? LoadText(entry.captionId, kCaptionBuffer) : entry.caption;
            AppendMenuA(menu, MF_STRING, idCmdFirst + static_cast<UINT>(entry.offset),
                        caption.c_str());
            break;
        }
        case ShellMenuEntry::Kind::kSubmenu: {
            UniqueHMenu submenu(CreatePopupMenu());
            if (!submenu) break;
            Append(submenu.get(), entry.children, idCmdFirst);
            std::string caption = LoadText(entry.captionId, kCaptionBuffer);
            if (AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu.get()),
                            caption.c_str())) {
                (void)submenu.release();  // `menu` owns it now
            }
            break;
        }
        }
    }
}

// The offsets of the commands among the planned entries, those of submenus included.
void AddCommandOffsets(const std::vector<ShellMenuEntry>& entries, std::vector<int>* offsets) {
    for (const ShellMenuEntry& entry : entries) {
        if (entry.kind == ShellMenuEntry::Kind::kCommand) offsets->push_back(entry.offset);
        AddCommandOffsets(entry.children, offsets);
    }
}

// Takes the paths of the drop that `data` offers into `selection`.
HRESULT TakeDrop(IDataObject* data, Selection* selection) {
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    StgMedium medium;
    HRESULT result = data->GetData(&format, medium.out());
    if (FAILED(result)) return result;
    if (medium.get().tymed != TYMED_HGLOBAL) return DV_E_TYMED;
    auto drop = static_cast<HDROP>(medium.get().hGlobal);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> paths;
    std::vector<std::u16string> widePaths;
    // Each path whole, however long: its length is asked for first. The ANSI path is the one
    // the menu and CF_TEXT go by; the wide one is kept beside it for the names the code page
    // cannot hold.
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::string path(length + 1, '\0');
        UINT got = DragQueryFileA(drop, i, &path[0], length + 1);
        if (got == 0) continue;
        path.resize(got);
        std::optional<std::u16string> wide = WidePath(drop, i);
        widePaths.push_back(wide ? std::move(*wide) : SystemCodePage().ToWide(path));
        paths.push_back(std::move(path));
    }
    selection->Take(count, paths, widePaths, SystemCodePage());
    return S_OK;
}

}  // namespace

ZurimoShellExt::ZurimoShellExt(IUnknown* outer) : inner_(*this), outer_(outer ? outer : &inner_) {
    LockModule();
}

// Takes the popup out of Explorer's menu again (deleting the item destroys the popup).
ZurimoShellExt::~ZurimoShellExt() {
    if (ownPopup_ && hostMenu_ && IsMenu(hostMenu_)) {
        for (int i = GetMenuItemCount(hostMenu_) - 1; i >= 0; --i) {
            if (GetSubMenu(hostMenu_, i) == ownPopup_) {
                DeleteMenu(hostMenu_, static_cast<UINT>(i), MF_BYPOSITION);
                ownPopup_ = nullptr;
                break;
            }
        }
    }
    if (ownPopup_ && IsMenu(ownPopup_)) DestroyMenu(ownPopup_);
    UnlockModule();
}

HRESULT STDMETHODCALLTYPE ZurimoShellExt::QueryInterface(REFIID riid, void** out) {
    return outer_->QueryInterface(riid, out);
}
ULONG STDMETHODCALLTYPE ZurimoShellExt::AddRef() { return outer_->AddRef(); }
ULONG STDMETHODCALLTYPE ZurimoShellExt::Release() { return outer_->Release(); }

HRESULT STDMETHODCALLTYPE ZurimoShellExt::InnerUnknown::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown) {
        *out = static_cast<IUnknown*>(this);
    } else if (riid == IID_IShellExtInit || riid == IID_IZurimoShellExt) {
        *out = static_cast<IShellExtInit*>(&object_);
    } else if (riid == IID_IContextMenu) {
        *out = static_cast<IContextMenu*>(&object_);
    } else {
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE ZurimoShellExt::InnerUnknown::AddRef() { return ++refs_; }

ULONG STDMETHODCALLTYPE ZurimoShellExt::InnerUnknown::Release() {
    ULONG left = --refs_;
    if (left == 0) delete &object_;
    return left;
}

// Every call from here on is one Explorer makes: none lets an exception out, and each changes
// the object or Explorer's menu only once nothing can fail halfway.

HRESULT STDMETHODCALLTYPE ZurimoShellExt::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
    return NoThrow([&] {
        if (!data) return E_POINTER;
        std::optional<ShellSettings> settings = ReadShellSettings(SystemRegistry());
        if (!settings) return E_FAIL;
        settings_ = *settings;
        // The new selection is made aside and then taken whole. Without a drop it is empty.
        Selection next = selection_;
        next.Take(0, {});
        HRESULT result = TakeDrop(data, &next);
        selection_ = std::move(next);
        return result;
    });
}

HRESULT STDMETHODCALLTYPE ZurimoShellExt::QueryContextMenu(HMENU menu, UINT indexMenu,
                                                           UINT idCmdFirst, UINT idCmdLast,
                                                           UINT flags) {
    return NoThrow([&] { return AddPopup(menu, indexMenu, idCmdFirst, idCmdLast, flags); });
}

HRESULT ZurimoShellExt::AddPopup(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                 UINT flags) {
    if (!menu || (flags & CMF_DEFAULTONLY)) return IdentifiersUsed(1);
    std::vector<std::optional<std::string>> users;
    if (settings_.userMenu) users = ReadUserCaptions(SystemRegistry());
    long long range = static_cast<long long>(idCmdLast) - idCmdFirst + 1;
    ShellMenuPlan plan = PlanShellMenu(selection_, settings_.hierarchy, users, range);
    if (plan.entries.empty()) return IdentifiersUsed(1);
    std::vector<int> commands;
    AddCommandOffsets(plan.entries, &commands);
    UniqueHMenu popup(CreatePopupMenu());
    if (!popup) return IdentifiersUsed(1);
    Append(popup.get(), plan.entries, idCmdFirst);
    std::string caption = LoadText(IDS_EX_POPUP, kCaptionBuffer);

    // Nothing below allocates: Explorer's menu gets the whole popup or nothing.
    // With the separator setting the popup goes one place down, above a separator of its own.
    bool separated = false;
    UINT separatorAt = 0;
    if (settings_.separator) {
        separatorAt = std::min(indexMenu + 1, static_cast<UINT>(GetMenuItemCount(menu)));
        separated = InsertMenuA(menu, indexMenu + 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        ++indexMenu;
    }
    if (!InsertMenuA(menu, indexMenu, MF_BYPOSITION | MF_POPUP | MF_STRING,
                     reinterpret_cast<UINT_PTR>(popup.get()), caption.c_str())) {
        if (separated) DeleteMenu(menu, separatorAt, MF_BYPOSITION);
        return IdentifiersUsed(1);
    }
    hostMenu_ = menu;
    ownPopup_ = popup.release();  // Explorer's menu owns it now; the object takes it out again
    commands_.swap(commands);
    return IdentifiersUsed(plan.idsUsed);
}

HRESULT STDMETHODCALLTYPE ZurimoShellExt::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    return NoThrow([&] {
        if (!info || !IS_INTRESOURCE(info->lpVerb)) return E_FAIL;  // a verb given as a string
        int offset = LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb));
        WinShellFacts facts;
        // The texts are made whole before the clipboard is opened: when that fails, the
        // clipboard keeps what it held.
        std::optional<ClipboardTexts> texts =
            CommandTexts(offset, selection_, facts, SystemRegistry(), SystemCodePage());
        if (!texts) return E_FAIL;
        return PutTextOnClipboard(nullptr, texts->ansi, texts->wide) ? S_OK : E_FAIL;
    });
}

// Only the ANSI help texts are given, and whether an offset is one of the popup's commands.
// A verb or a wide help text is not implemented: nothing is written for it.
HRESULT STDMETHODCALLTYPE ZurimoShellExt::GetCommandString(UINT_PTR offset, UINT type, UINT*,
                                                           CHAR* buffer, UINT size) {
    switch (type) {
    case GCS_HELPTEXTA:
        return NoThrow([&] {
            if (!buffer || size == 0) return S_OK;
            int id = offset <= 0xFFFF ? HelpTextId(static_cast<int>(offset)) : 0;
            std::string help = id ? LoadText(id, kHelpBuffer) : std::string();
            help = CutAtCharBoundary(help, size - 1);
            std::memcpy(buffer, help.c_str(), help.size() + 1);
            return S_OK;
        });
    case GCS_VALIDATEA:
    case GCS_VALIDATEW:
        return IsCommand(offset) ? S_OK : S_FALSE;
    default:
        return E_NOTIMPL;
    }
}

bool ZurimoShellExt::IsCommand(UINT_PTR offset) const {
    for (int command : commands_) {
        if (static_cast<UINT_PTR>(command) == offset) return true;
    }
    return false;
}

}  // namespace zurimo
