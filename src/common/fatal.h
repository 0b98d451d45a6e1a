#pragma once
#include <stdexcept>
#include <string>

/// A condition that ends the run: `main` prints the message as it stands and
/// exits with status 1.
struct FatalError : std::runtime_error {
    explicit FatalError(const std::string& message) : std::runtime_error(message) {}
};
