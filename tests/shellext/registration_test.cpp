// The library as a COM server: its exports, class factory and lock count, the version it
// reports, and the keys it writes and removes, called in this process and through regsvr32.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host.h"

namespace shellext_test {
namespace {

const std::string kClsidKey = std::string("CLSID\\") + kClsidText;
const std::string kHandler = std::string("\\shellex\\ContextMenuHandlers\\") + kClsidText;
const std::string kProgId = "ZurimoShellExt.ZurimoShellExt";

// Every key of the registration under HKEY_CLASSES_ROOT with its default value.
std::vector<std::pair<std::string, std::string>> Keys(const std::string& libraryPath) {
    return {{kClsidKey, "ZurimoShellExt Class"},
            {kClsidKey + "\\InprocServer32", libraryPath},
            {kClsidKey + "\\ProgID", kProgId + ".1"},
            {kClsidKey + "\\VersionIndependentProgID", kProgId},
            {kProgId, "ZurimoShellExt Class"},
            {kProgId + "\\CLSID", kClsidText},
            {kProgId + "\\CurVer", kProgId + ".1"},
            {kProgId + ".1", "ZurimoShellExt Class"},
            {kProgId + ".1\\CLSID", kClsidText},
            {"*" + kHandler, "<missing>"},
            {"Directory" + kHandler, "<missing>"},
            {"InternetShortcut" + kHandler, "<missing>"}};
}

AssertionResult Registered(const std::string& libraryPath) {
    for (const auto& [key, value] : Keys(libraryPath)) {
        std::string found = KeyExists(HKEY_CLASSES_ROOT, key) ? ReadString(HKEY_CLASSES_ROOT, key)
                                                              : "<no key>";
        if (_stricmp(found.c_str(), value.c_str()) != 0) {
            return testing::AssertionFailure() << key << " holds " << found << ", not " << value;
        }
    }
    std::string model =
        ReadString(HKEY_CLASSES_ROOT, kClsidKey + "\\InprocServer32", "ThreadingModel");
    if (model == "Apartment") return testing::AssertionSuccess();
    return testing::AssertionFailure() << "ThreadingModel " << model;
}

AssertionResult Unregistered() {
    for (const auto& key : Keys("")) {
        if (KeyExists(HKEY_CLASSES_ROOT, key.first)) {
            return testing::AssertionFailure() << key.first << " is still there";
        }
    }
    return testing::AssertionSuccess();
}

// "subkeys 3, values 1": what a key holds, to see that nothing else was written into it.
std::string Shape(const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened)) return "<missing>";
    UniqueHKey owner(opened);
    DWORD subkeys = 0, values = 0;
    RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                     nullptr, nullptr, nullptr, nullptr);
    return "subkeys " + std::to_string(subkeys) + ", values " + std::to_string(values);
}

void RemoveRegistration() {
    for (const std::string& key : {kClsidKey, kProgId, kProgId + ".1", "*" + kHandler,
                                   "Directory" + kHandler, "InternetShortcut" + kHandler}) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Classes\\" + key).c_str());
    }
}

// A controlling object for aggregation, counting its references.
struct Outer : IUnknown {
    LONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IUnknown ? this : nullptr;
        return *out ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
};

class RegistrationTest : public testing::Test {
protected:
    void SetUp() override {
        RemoveRegistration();
        ASSERT_TRUE(library.Load());
    }
    void TearDown() override { RemoveRegistration(); }

    // regsvr32 with `options` on the library, waited for; its exit code.
    AssertionResult Regsvr32(const std::string& options, DWORD* exitCode) {
        std::string command = "regsvr32.exe " + options + " \"" + LibraryPath() + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            return testing::AssertionFailure() << command << " cannot start: " << GetLastError();
        }
        zurimo::UniqueHandle owner(process.hProcess), thread(process.hThread);
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process.hProcess, exitCode)) {
            return testing::AssertionSuccess();
        }
        TerminateProcess(process.hProcess, 99);
        return testing::AssertionFailure() << command << " did not end within 60 s";
    }

    zurimo::OleInitialization ole;
    Library library;
};

TEST_F(RegistrationTest, ClassFactoryIsCachedAndCountsTheLocks) {
    EXPECT_EQ(S_OK, library.canUnloadNow());
    Com<IClassFactory> first, second;
    Com<IUnknown> other;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              library.getClassObject(kOwnIid, IID_IClassFactory, first.out()));
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              library.getClassObject(CLSID_ShellLink, IID_IClassFactory, first.out()));
    EXPECT_EQ(E_POINTER, library.getClassObject(kClsid, IID_IClassFactory, nullptr));
    EXPECT_EQ(E_NOINTERFACE, library.getClassObject(kClsid, IID_IShellExtInit, other.out()));

    ASSERT_EQ(S_OK, library.getClassObject(kClsid, IID_IClassFactory, first.out()));
    ASSERT_EQ(S_OK, library.getClassObject(kClsid, IID_IClassFactory, second.out()));
    EXPECT_EQ(first.get(), second.get()) << "one cached factory";
    EXPECT_EQ(S_OK, first->QueryInterface(IID_IUnknown, other.out()));
    EXPECT_EQ(S_FALSE, library.canUnloadNow()) << "while a factory is held";
    other.reset();
    second.reset();
    first.reset();
    EXPECT_EQ(S_OK, library.canUnloadNow()) << "the cache's own reference holds no lock";

    ASSERT_EQ(S_OK, library.getClassObject(kClsid, IID_IClassFactory, first.out()));
    EXPECT_EQ(S_OK, first->LockServer(TRUE));
    first.reset();
    EXPECT_EQ(S_FALSE, library.canUnloadNow()) << "locked";
    ASSERT_EQ(S_OK, library.getClassObject(kClsid, IID_IClassFactory, first.out()));
    EXPECT_EQ(S_OK, first->LockServer(FALSE));
    ASSERT_EQ(S_OK, first->CreateInstance(nullptr, IID_IContextMenu, other.out()));
    first.reset();
    EXPECT_EQ(S_FALSE, library.canUnloadNow()) << "while an object lives";
    other.reset();
    EXPECT_EQ(S_OK, library.canUnloadNow()) << "unlocked, no object";
}

TEST_F(RegistrationTest, ObjectAnswersItsInterfacesAndCanBeAggregated) {
    Com<IClassFactory> factory;
    ASSERT_EQ(S_OK, library.getClassObject(kClsid, IID_IClassFactory, factory.out()));
    Com<IUnknown> object, answer, identity;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, object.out()));
    for (const IID* iid : {&kOwnIid, &IID_IShellExtInit, &IID_IContextMenu}) {
        ASSERT_EQ(S_OK, object->QueryInterface(*iid, answer.out()));
        ASSERT_EQ(S_OK, answer->QueryInterface(IID_IUnknown, identity.out()));
        EXPECT_EQ(object.get(), identity.get()) << "one identity";
    }
    for (const IID* iid : {&IID_IContextMenu2, &IID_IContextMenu3, &IID_IShellPropSheetExt,
                           &IID_IDataObject, &IID_IClassFactory}) {
        EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(*iid, answer.out()));
        EXPECT_FALSE(answer);
    }
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IDropTarget, answer.out()));
    EXPECT_FALSE(answer);

    // Inside another object only as its inner IUnknown, and then counting on the outer one.
    Outer outer;
    EXPECT_EQ(CLASS_E_NOAGGREGATION,
              factory->CreateInstance(&outer, IID_IContextMenu, answer.out()));
    Com<IUnknown> inner;
    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, inner.out()));
    ASSERT_EQ(S_OK, inner->QueryInterface(IID_IContextMenu, answer.out()));
    EXPECT_EQ(2, outer.refs) << "the inner interface counts on the outer object";
    ASSERT_EQ(S_OK, answer->QueryInterface(IID_IUnknown, identity.out()));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity.get());
    identity.reset();
    answer.reset();
    EXPECT_EQ(1, outer.refs);
    inner.reset();
    object.reset();
    factory.reset();
    EXPECT_EQ(S_OK, library.canUnloadNow()) << "every object gone";
}

TEST_F(RegistrationTest, VersionIsReportedFromTheVersionResource) {
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_EQ(S_OK, library.getVersion(&info));
    EXPECT_EQ(sizeof info, info.cbSize);
    EXPECT_EQ("1.33 build 0 platform 2",
              std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) +
                  " build " + std::to_string(info.dwBuildNumber) + " platform " +
                  std::to_string(info.dwPlatformID));
    EXPECT_EQ(E_FAIL, library.getVersion(nullptr));

    const std::string path = library.path();
    const std::pair<const char*, const char*> strings[] = {
        {"FileDescription", "ZurimoEx"}, {"InternalName", "ZurimoEx"},
        {"OriginalFilename", "ZurimoEx.dll"}, {"ProductName", "Zurimo!"},
        {"CompanyName", "Kestro!"}, {"FileVersion", "1, 33, 0, 1"},
        {"ProductVersion", "1, 33, 0, 1"}};
    for (const auto& [name, value] : strings) EXPECT_EQ(value, VersionString(path, name)) << name;
    EXPECT_EQ(std::string("\x11\x04\xb0\x04", 4),
              VersionString(path, "\\VarFileInfo\\Translation"));
}

TEST_F(RegistrationTest, RegisterWritesTheClassAndHandlerKeysAndUnregisterRemovesThem) {
    ASSERT_TRUE(Unregistered());
    EXPECT_EQ(S_OK, library.registerServer());
    EXPECT_TRUE(Registered(library.path()));
    EXPECT_EQ("subkeys 3, values 1", Shape(kClsidKey));
    EXPECT_EQ("subkeys 0, values 2", Shape(kClsidKey + "\\InprocServer32"));
    EXPECT_EQ("subkeys 2, values 1", Shape(kProgId));
    EXPECT_EQ("subkeys 1, values 1", Shape(kProgId + ".1"));
    for (const char* type : {"*", "Directory", "InternetShortcut"}) {
        EXPECT_EQ("subkeys 0, values 0", Shape(type + kHandler)) << type;
    }
    // Where HKEY_CLASSES_ROOT keeps it: nothing for the user alone, nor among the approved
    // extensions.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\" + kClsidKey));
    EXPECT_EQ("<missing>",
              ReadString(HKEY_LOCAL_MACHINE,
                         "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved",
                         kClsidText));
    EXPECT_EQ(S_OK, library.registerServer()) << "over its own keys";
    EXPECT_TRUE(Registered(library.path()));

    EXPECT_EQ(S_OK, library.unregisterServer());
    EXPECT_TRUE(Unregistered());
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Directory\\shellex\\ContextMenuHandlers"))
        << "only its own keys go";
    EXPECT_EQ(E_FAIL, library.unregisterServer()) << "the second time";

    // A key already gone, first or in the middle, ends the work there: the keys before it
    // are removed, the ones after it stay.
    for (const std::string& gone : {kClsidKey, kProgId}) {
        ASSERT_EQ(S_OK, library.registerServer());
        ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_CLASSES_ROOT, gone.c_str()));
        EXPECT_EQ(E_FAIL, library.unregisterServer()) << gone << " was gone";
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClsidKey)) << gone << " was gone";
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kProgId + ".1")) << gone << " was gone";
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "InternetShortcut" + kHandler)) << gone;
    }
    ASSERT_EQ(S_OK, library.registerServer());
    EXPECT_EQ(S_OK, library.unregisterServer());
    EXPECT_TRUE(Unregistered());
}

TEST_F(RegistrationTest, Regsvr32RegistersAndUnregistersTheLibrary) {
    DWORD code = 99;
    ASSERT_TRUE(Regsvr32("/s", &code));
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(Registered(LibraryPath()));
    ASSERT_TRUE(Regsvr32("/s /u", &code));
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(Unregistered());
    ASSERT_TRUE(Regsvr32("/s /u", &code));
    EXPECT_EQ(5u, code) << "the export's failure";
}

}  // namespace
}  // namespace shellext_test
