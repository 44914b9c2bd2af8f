#pragma once

#include <stdexcept>
#include <string>

// Every failure of the program is one of these; the front ends show what() as it stands.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A text that is not an integer: "'%s' is not a valid integer value".
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be created: "Cannot create file %s: %s" (the name, the system's reason).
class EFCreateError : public Exception {
public:
    using Exception::Exception;
};

// A write that failed: "Stream write error: %s: %s" (the name, the system's reason).
class EWriteError : public Exception {
public:
    using Exception::Exception;
};
