#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace velkora {

// Breadth-first search over every folder of every fixed drive, drives in
// the order FixedDrives gives them and folders in the platform's listing
// order, for the first folder that holds a file `file_name` (as FileExists
// sees it). Returns that folder with its trailing separator, or "" when no
// folder holds one.
//
// The search never enters a symbolic link, junction or other reparse point,
// enters each folder once even when several paths reach it (so a folder
// mounted inside itself cannot trap it), and does not step onto a volume
// that is not on a fixed disk (pseudo file systems, network shares).
std::string SearchFixedDrivesFor(const FileSystem& files, std::string_view file_name);

}  // namespace velkora
