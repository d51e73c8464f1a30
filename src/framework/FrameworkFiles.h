#pragma once

#include <QString>

// The framework's own files in the application folder: the sort-order store "ZadUvazUDU.INI" and the
// switch files "Settings.ini" and "Debug.ini". Their paths are fixed once, at start-up; reads and
// writes then go straight to the files, nothing is cached.
namespace FrameworkFiles {

// Fixes the paths in `folder`. Start-up calls it with the application folder; without a call the
// application folder is taken on first use. A file copied in under another letter case (as Windows
// does not tell them apart) is found by that spelling.
void setFolder(const QString& folder);
QString folder();
QString sortOrderFile();
QString settingsFile();
QString debugFile();
// The running program's file name without its folder, as spelled on disk; part of the
// sort-order sections.
QString programFileName();

} // namespace FrameworkFiles

// Whether "Debug.ini" exists: windows then run their developer checks after creation.
bool IsDebugMode();
// "Settings.ini" [DBG_SETTINGS] CAN: prepare-error reports carry the extended diagnostic block.
bool CanShowGridDebug();
