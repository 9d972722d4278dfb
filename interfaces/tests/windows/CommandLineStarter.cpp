// Starts PROGRAM once for each line of LINES, with that line as its raw
// command line, its output going to OUT, and waits for each run to end.
//   CommandLineStarter LINES OUT PROGRAM
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    std::ifstream lines(argv[1], std::ios::binary);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(argv[2], GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!lines || out == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "CommandLineStarter: cannot open %s or %s (error %lu)\n", argv[1],
                     argv[2], GetLastError());
        return 1;
    }
    std::string line;
    for (unsigned number = 1; std::getline(lines, line); ++number) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = INVALID_HANDLE_VALUE;
        startup.hStdOutput = out;
        startup.hStdError = out;
        PROCESS_INFORMATION process = {};
        // Under Wine a start can fail now and then while the prefix is busy
        // (seen once in a whole run); the splitting is what is tested, so a
        // few more tries, and the cause when they all fail.
        bool started = false;
        DWORD error = 0;
        for (int attempt = 0; attempt < 5 && !started; ++attempt) {
            std::string commandLine = line; // CreateProcessA may write to it
            started = CreateProcessA(argv[3], &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                     nullptr, &startup, &process);
            if (!started) {
                error = GetLastError();
                Sleep(500);
            }
        }
        if (!started) {
            std::fprintf(stderr, "CommandLineStarter: line %u: cannot start %s (error %lu)\n",
                         number, argv[3], error);
            return 1;
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    return 0;
}
