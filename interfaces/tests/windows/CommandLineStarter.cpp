// Starts PROGRAM once for each line of LINES, with that line as its raw
// command line, its output going to OUT, and waits for each run to end.
//   CommandLineStarter LINES OUT PROGRAM
#include <windows.h>

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
        return 1;
    }
    std::string line;
    while (std::getline(lines, line)) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = INVALID_HANDLE_VALUE;
        startup.hStdOutput = out;
        startup.hStdError = out;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(argv[3], &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &process)) {
            return 1;
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    return 0;
}
