// The per-user data folder and the settings file: "<documents>/KORVANE/" with a copy of the
// default configuration in its "conf" subfolder, or, when that cannot be had, the folders under
// the program folder while it is writable, else "<data home>/korvane/" (an installed program
// folder is never written).
#pragma once
#include <string>

#include "settings/application_context.h"

namespace korvane {

// Copies every file of `source` into `destination`, folders recursively, never overwriting a
// file that exists there. Non-zero on success; 0 for an empty or unreadable source, a destination
// that cannot be created, a failed copy (the walk stops there), or an empty source folder.
int CopyFolderTree(const std::string& source, const std::string& destination, bool failIfExists);

// Sets the context's dataFolder and settingsPath (the program folder must be set), using the
// user's documents folder, which is made when it is missing. The folders under the program folder
// serve only when no documents folder is known or it cannot be made or written.
void PrepareDataFolder(ApplicationContext& context);
// The settings file PrepareDataFolder would name, without making or copying anything: the user's
// copy when it exists, else the program folder's defaults. For runs that only read settings.
std::string ExistingSettingsPath(const std::string& programFolder);
// The data folder PrepareDataFolder would name, without making anything: the user's when it
// exists, else the program folder's fallback.
std::string ExistingDataFolder(const std::string& programFolder);

// The same with the documents folder given; empty means none was found.
void PrepareDataFolderIn(ApplicationContext& context, const std::string& documentsFolder);
// The same with the user's data home and whether the program folder may be written given: the
// data home's "korvane/" serves after the documents folder only when the program folder may not
// be written; the program folder's folders when neither serves.
void PrepareDataFolderIn(ApplicationContext& context, const std::string& documentsFolder,
                         const std::string& dataHome, bool programFolderWritable);
// True when the settings file is the user's own copy, false when it is the program folder's
// default file (the fallback), which only the settings the user chose may change.
bool UsesOwnSettingsFile(const ApplicationContext& context);

}  // namespace korvane
