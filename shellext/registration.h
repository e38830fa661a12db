// The registry keys of the Explorer extension's COM server, as lists of changes: what
// registration writes, in its order, and what unregistration removes.
#pragma once

#include <string>

#include "base/reg_changes.h"
#include "base/registry.h"

namespace zurimo {

constexpr char kShellExtClsid[] = "{7A31C2E4-5B6D-4E8F-9A0B-1C2D3E4F5A6B}";
constexpr char kShellExtDescription[] = "ZurimoShellExt Class";
constexpr char kShellExtProgId[] = "ZurimoShellExt.ZurimoShellExt.1";
constexpr char kShellExtVersionIndependentProgId[] = "ZurimoShellExt.ZurimoShellExt";

// Under HKEY_CLASSES_ROOT: the class with its server, ProgIDs and threading model, then the
// context-menu handler keys for all files, folders and Internet shortcuts.
RegChanges ServerRegistration(const std::string& libraryPath);
// The class key, the two ProgID keys and the three handler keys, each with all below it.
RegChanges ServerUnregistration();

// The same changes under HKEY_CURRENT_USER\Software\Classes, which HKEY_CLASSES_ROOT shows
// to the user: where a program may write when HKEY_CLASSES_ROOT refuses it.
RegChanges ForUserClasses(const RegChanges& changes);

// Writes the registration; when HKEY_CLASSES_ROOT refuses access, writes it for the user
// instead. Returns the Windows error code of the first change that failed, or 0.
long RegisterServer(Registry& registry, const std::string& libraryPath);
// Removes the keys of the registration in order, from HKEY_CLASSES_ROOT and from the user's
// classes. False at the first key missing from both or not removable; the later keys stay.
bool UnregisterServer(Registry& registry);

}  // namespace zurimo
