#pragma once

#include <cstdio>
#include <string>

// A file made anew for writing, binary: never one that exists and never
// through a symbolic link, so that a name planted beforehand cannot redirect
// the bytes. Its permissions are those of any new file (0666 less the
// umask). Null with `error` set to the system's reason.
std::FILE* CreateNewFile(const std::string& path, std::string& error);
