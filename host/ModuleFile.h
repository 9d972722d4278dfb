#pragma once

#include <string>

// Why a module file cannot be handed to the system loader, or "" when nothing
// is known against it. A file cut short makes the loader map pages past its
// end, and touching them kills the process, so the file is measured against
// what its headers claim first: an ELF file's program headers, a PE file's
// section table. Files of neither kind are left to the loader to refuse.
std::string ModuleFileProblem(const std::string& path);
