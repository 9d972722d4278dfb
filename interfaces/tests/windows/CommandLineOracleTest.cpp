// Compares the launcher's command-line splitting with a real C runtime's: a
// few hundred generated command lines are handed untouched, through
// CreateProcess, to a program that prints its argv as the runtime split it.
#include "ZqPlatformTesting.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <process.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kBin = std::string(ZQ_BUILD_DIR) + "/bin/";

// Lines built from the pieces that the splitting rules treat specially.
std::vector<std::string> GeneratedLines(unsigned count) {
    const char* const pieces[] = {"a",    "b c",   " ",      "\t",     "\"",       "\"\"",
                                  "\\",   "\\\\",  "\\\"",   "\\\\\"", "\\\\\\\"", "\"\"\"",
                                  "x\\y", "\" \"", "\\\\\\", "  "};
    // The program name is split by a rule of its own: quotes group, and a
    // backslash is always an ordinary character. Wine's runtime applies the
    // argument rules to it instead, so names are kept to those on which both
    // rules agree; the launcher's tests hold the documented cases.
    const char* const programs[] = {"prog", "\"prog ram\"", "C:\\Tools\\prog.exe",
                                    "\"C:\\Program Files\\p\"", "pro\"g r\"am"};
    std::mt19937 random(20240613); // its sequence is fixed by the standard: the same lines each run
    std::vector<std::string> lines;
    for (unsigned i = 0; i < count; ++i) {
        std::string line = programs[random() % (sizeof programs / sizeof programs[0])];
        line += random() % 2 ? " " : "\t";
        unsigned length = 1 + random() % 12;
        for (unsigned j = 0; j < length; ++j) {
            line += pieces[random() % (sizeof pieces / sizeof pieces[0])];
        }
        lines.push_back(line);
    }
    return lines;
}

std::string FromHex(const std::string& hex) {
    std::string text;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return text;
}

// The argument lists the printer reported, one for each line.
std::vector<std::vector<std::string>> ReadReports(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::vector<std::string>> reports;
    std::string count;
    while (std::getline(file, count)) {
        std::vector<std::string> words;
        for (int i = 0; i < std::stoi(count); ++i) {
            std::string hex;
            std::getline(file, hex);
            if (!hex.empty() && hex.back() == '\r') {
                hex.pop_back();
            }
            words.push_back(FromHex(hex));
        }
        reports.push_back(words);
    }
    return reports;
}

std::string Shown(const std::string& line) {
    std::string shown;
    for (char c : line) {
        shown += c == '\t' ? std::string("<TAB>") : std::string(1, c);
    }
    return "[" + shown + "]";
}

} // namespace

TEST(CommandLineOracle, SplitsAsTheCRuntimeDoes) {
    std::vector<std::string> lines = GeneratedLines(300);
    std::string linesPath = std::string(ZQ_BUILD_DIR) + "/oracle-lines.txt";
    std::string reportPath = std::string(ZQ_BUILD_DIR) + "/oracle-argv.txt";
    {
        std::ofstream file(linesPath, std::ios::binary);
        for (const std::string& line : lines) {
            file << line << '\n';
        }
    }
    std::string starter = kBin + "CommandLineStarter.exe";
    std::string printer = kBin + "ArgvPrinter.exe";
    ASSERT_EQ(_spawnl(_P_WAIT, starter.c_str(), "CommandLineStarter", linesPath.c_str(),
                      reportPath.c_str(), printer.c_str(), nullptr),
              0);
    std::vector<std::vector<std::string>> reports = ReadReports(reportPath);
    ASSERT_EQ(reports.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(ZqPlatform::SplitCommandLine(lines[i].c_str()), reports[i]) << Shown(lines[i]);
    }
}
