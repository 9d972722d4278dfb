#pragma once

#include <stdexcept>
#include <string>

// A problem with the host's input files or arguments; main turns it into a
// one-line message and exit status 2. Never thrown through a plug-in.
class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};
