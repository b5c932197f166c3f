// The errors the program raises, each a message for the error box.
#pragma once

#include <exception>
#include <string>
#include <utility>

// Not std::runtime_error: its message is a copy-on-write string, a second
// string implementation that would add some 40 KB to the program.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};
