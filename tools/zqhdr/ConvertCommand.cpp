// zqhdr convert IN OUT [--exposure STOPS]
#include "Commands.h"
#include "Conversion.h"
#include "OutputFile.h"
#include "StopSignals.h"

#include <csignal>
#include <cstring>
#include <initializer_list>
#include <unistd.h>

namespace {

// The one temporary file a stop signal removes before the process ends; a
// copy kept for the life of the process, so a late signal still finds it.
const char* g_temporary = nullptr;

extern "C" void RemoveTemporaryAndStop(int signal) {
    unlink(g_temporary);
    static const char kInterrupted[] = "zqhdr: interrupted\n";
    ssize_t written = write(STDERR_FILENO, kInterrupted, sizeof kInterrupted - 1);
    (void)written; // nothing better to do when even this fails
    raise(signal); // the handler was reset: ends the process once this returns
}

// Once the output is renamed into place, the unlink finds nothing to remove.
void RemoveOnStop(const std::string& temporary) {
    g_temporary = strdup(temporary.c_str());
    if (!g_temporary) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = RemoveTemporaryAndStop;
    action.sa_flags = SA_RESETHAND;
    const sigset_t signals = StopSignals();
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        if (sigismember(&signals, signal)) {
            sigaction(signal, &action, nullptr);
        }
    }
}

} // namespace

int RunConvert(const std::vector<std::string>& words) {
    double exposure = 0.0;
    std::vector<std::string> paths;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--exposure") {
            if (i + 1 == words.size() || !ParseStops(words[i + 1], exposure)) {
                return Usage("convert", "--exposure needs a number of stops");
            }
            ++i;
        } else {
            paths.push_back(words[i]);
        }
    }
    if (paths.size() != 2) {
        return Usage("convert", "convert takes IN OUT [--exposure STOPS]");
    }
    OutputKind kind = OutputKindOf(paths[1]);
    if (kind == OutputKind::Unknown) {
        return Usage("convert", paths[1] + ": the output must end in .raw, .exr or .png");
    }
    IgnoreWriteSignals();
    RemoveOnStop(OutputFile::TemporaryPathFor(paths[1], "zqhdr"));
    ConversionFailure failure;
    if (!ConvertFile(paths[0], paths[1], kind, exposure, failure)) {
        return Fail(failure.file, failure.reason);
    }
    return 0;
}
