#include "RunProgram.h"

#include <cstdlib>
#include <sys/wait.h>

ProgramOutcome RunProgram(const ScratchFolder& folder, const std::string& command) {
    std::string out = folder.Path("stdout.txt");
    std::string err = folder.Path("stderr.txt");
    int raw = std::system((command + " >" + out + " 2>" + err + " </dev/null").c_str());
    int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return {status, ReadText(out), ReadText(err)};
}
