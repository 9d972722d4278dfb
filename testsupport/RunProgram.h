#pragma once

#include "ScratchFolder.h"

#include <string>

// What a finished program left: its exit status (-1 when it did not exit
// normally) and everything it printed.
struct ProgramOutcome {
    int status;
    std::string out;
    std::string err;
};

// Runs `command` through the shell with no input, its output captured in
// files of `folder` (stdout.txt, stderr.txt), and waits for it.
ProgramOutcome RunProgram(const ScratchFolder& folder, const std::string& command);
