// Stands in for Explorer: loads ZurimoEx.dll, makes its object through the class factory,
// hands it a selection of files, builds its menu into a menu of this process, runs its
// commands and reads the clipboard. What a test holds is held by an owner.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "base/win/com.h"
#include "base/win/handles.h"
#include "data_object.h"

namespace shellext_test {

using testing::AssertionResult;
using zurimo::Com;
using zurimo::UniqueHKey;

constexpr char kClsidText[] = "{7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}";
extern const CLSID kClsid;
extern const IID kOwnIid;  // the object's own interface
constexpr char kAppKey[] = "Software\\Kestro!\\Zurimo!";
constexpr char kBefore[] = "on the clipboard before";

std::string Hr(HRESULT hr);  // "0x80004005"
std::string LibraryPath();   // ..\bin\ZurimoEx.dll beside the tests' folder, or in ZURIMO_BIN

// The library, loaded as Explorer loads it, with its exports looked up by name.
struct Library {
    zurimo::UniqueLibrary module;
    HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow)() = nullptr;
    HRESULT(STDAPICALLTYPE* getVersion)(DLLVERSIONINFO*) = nullptr;
    HRESULT(STDAPICALLTYPE* registerServer)() = nullptr;
    HRESULT(STDAPICALLTYPE* unregisterServer)() = nullptr;
    AssertionResult Load();
    std::string path() const;  // as the loader has it
};

// Makes one allocation of a loaded library fail, as memory running out would: the library's
// import entries for the C runtime's allocation functions (malloc, calloc, realloc, _strdup)
// are pointed at wrappers that count the calls and fail the one asked for. operator new of
// the statically linked C++ runtime ends in malloc, so there it becomes std::bad_alloc.
namespace allocation_faults {
AssertionResult Attach(HMODULE module);  // fails when the library imports no malloc
void Arm(long failAt);                   // counts from 0 again; with 0 nothing fails
long Count();                            // allocations since Arm
bool Reached();                          // whether the armed one was asked for
}  // namespace allocation_faults

// One object of the extension, held as Explorer holds it for one menu.
class Extension {
public:
    AssertionResult Create(const Library& library);
    HRESULT Initialize(IDataObject* data) { return init_->Initialize(nullptr, data, nullptr); }
    HRESULT Query(HMENU menu, UINT index, UINT first, UINT last, UINT flags = CMF_NORMAL) {
        return menu_->QueryContextMenu(menu, index, first, last, flags);
    }
    HRESULT Invoke(UINT offset) { return InvokeVerb(MAKEINTRESOURCEA(offset)); }
    HRESULT InvokeVerb(const char* verb);
    // The text written into a buffer of `size` bytes; "<untouched>" when nothing was.
    std::string HelpText(UINT offset, UINT size = 256, UINT type = GCS_HELPTEXTA,
                         HRESULT* result = nullptr);
    void Release() { menu_.reset(), init_.reset(); }

private:
    Com<IShellExtInit> init_;
    Com<IContextMenu> menu_;
};

// A menu's entries, one line each: "102 caption", "-" for a separator, "> caption" for a
// submenu followed by its own lines indented by two spaces.
std::vector<std::string> MenuLines(HMENU menu, const std::string& indent = "");

AssertionResult SetClipboardText(const std::string& text);
std::string ClipboardText();  // CF_TEXT, or "<none>"
// CF_UNICODETEXT, put or made by the system from CF_TEXT; or L"<none>".
std::wstring ClipboardWideText();
// True when CF_UNICODETEXT was put, not made from CF_TEXT: the clipboard lists the formats
// put first, then those the system can make from them.
bool UnicodeTextPut();

void ResetUser();  // removes HKEY_CURRENT_USER\Software\Kestro! with all below it
AssertionResult PutValue(HKEY root, const std::string& key, const char* name, DWORD type,
                         const std::string& bytes);
AssertionResult PutDword(const std::string& key, const char* name, DWORD value);
AssertionResult PutSettings(DWORD limit, DWORD separator, DWORD hierarchy, DWORD userMenu);
AssertionResult PutUser(int k, const std::string& caption, const std::string& content);
bool KeyExists(HKEY root, const std::string& key);
// A REG_SZ value ("" for the default one), or "<missing>".
std::string ReadString(HKEY root, const std::string& key, const char* name = "");

// A string of the version resource's 041104b0 table, or a raw value such as "\\".
std::string VersionString(const std::string& path, const std::string& name);

// A folder of one test, made fresh and removed with all it holds when this goes.
class TempTree {
public:
    explicit TempTree(std::string root) : root_(std::move(root)) {}
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    AssertionResult Create();
    std::string Path(const std::string& relative) const { return root_ + "\\" + relative; }
    AssertionResult Folder(const std::string& relative);
    // A file holding `bytes`, extended (without data) to `size` when that is larger.
    AssertionResult File(const std::string& relative, const std::string& bytes,
                         ULONGLONG size = 0);
    // A file whose name may be one the code page cannot hold.
    AssertionResult File(const std::wstring& relative, const std::string& bytes);

private:
    std::string root_;
};

}  // namespace shellext_test
