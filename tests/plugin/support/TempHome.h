// A private profile folder for a test program: on Linux $HOME points at a fresh
// temporary folder for the whole run, so logs and the registry file of the
// tests never touch the user's own. On Windows the real profile folder is used.
#pragma once

#include <string>
#include <vector>

// The profile folder the importer will use (created on first call).
const std::string& testProfileFolder();

// A name no earlier run has used: prefix, then random digits.
std::string uniqueName(const std::string& prefix);

// Removes the files of a folder whose names start with prefix.
void removeFilesStartingWith(const std::string& folder, const std::string& prefix);

// Reads a whole file; empty when missing.
std::string readWholeFile(const std::string& path);

// Lists the files of a folder whose names start with prefix (sorted).
std::vector<std::string> filesStartingWith(const std::string& folder, const std::string& prefix);
