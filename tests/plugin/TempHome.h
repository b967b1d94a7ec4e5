// A private profile folder for a test program: on Linux $HOME points at a fresh
// temporary folder for the whole run, so logs and the registry file of the
// tests never touch the user's own. On Windows the real profile folder is used.
#pragma once

#include <string>
#include <vector>

// The profile folder the importer will use (created on first call).
const std::string& testProfileFolder();

// Reads a whole file; empty when missing.
std::string readWholeFile(const std::string& path);

// Lists the files of a folder whose names start with prefix (sorted).
std::vector<std::string> filesStartingWith(const std::string& folder, const std::string& prefix);
