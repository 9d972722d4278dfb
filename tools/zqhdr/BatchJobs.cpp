#include "BatchJobs.h"

#include "ToolPlatform.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool HasHdrExtension(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".hdr";
}

uintmax_t SizeOf(const fs::path& path) {
    std::error_code error;
    uintmax_t size = fs::file_size(path, error);
    return error ? 0 : size;
}

} // namespace

void PlanBatch(const std::vector<std::string>& inputs, const std::string& outputFolder,
               OutputKind kind, std::vector<BatchJob>& jobs, std::vector<PlanFailure>& failures) {
    const fs::path out(outputFolder);
    std::set<std::string> outputs;
    auto add = [&](const fs::path& input, fs::path relative) {
        relative.replace_extension(OutputExtension(kind));
        std::string output = (out / relative).string();
        if (!outputs.insert(output).second) {
            failures.push_back(
                {input.string(), "its output " + output + " comes from another input too"});
            return;
        }
        jobs.push_back({input.string(), output, SizeOf(input)});
    };
    for (const std::string& input : inputs) {
        std::error_code error;
        if (!fs::is_directory(input, error)) {
            if (!fs::exists(input, error)) {
                const std::error_code why =
                    error ? error : std::make_error_code(std::errc::no_such_file_or_directory);
                failures.push_back({input, "cannot be opened: " + why.message()});
            } else {
                add(input, fs::path(input).filename());
            }
            continue;
        }
        std::vector<fs::path> found;
        fs::recursive_directory_iterator walk(input, fs::directory_options::skip_permission_denied,
                                              error);
        for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
            const fs::path& path = walk->path();
            if (walk->is_directory(error) && !ToolPlatform::CanReadFolder(path.string())) {
                // A folder that cannot be read fails on its own, not as a silent gap.
                failures.push_back({path.string(), "cannot be read"});
                walk.disable_recursion_pending();
            } else if (walk->is_regular_file(error) && HasHdrExtension(path)) {
                found.push_back(path);
            }
        }
        if (error) {
            failures.push_back({input, "cannot be read: " + error.message()});
        }
        std::sort(found.begin(), found.end());
        for (const fs::path& path : found) {
            add(path, path.lexically_relative(input));
        }
    }
}
