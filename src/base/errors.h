#pragma once
// The exception classes of the form codec and the libraries above it. Every error
// carries the message shown to the user; callers catch fw::Exception to handle any.

#include <stdexcept>
#include <string>

namespace fw {

// Base of every error the program raises itself.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A stream could not be read, written or positioned.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};

// An error of the form filer: reading or writing a form stream.
class EFilerError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// A binary form stream is damaged: a bad signature, a truncation, a bad tag.
class EReadError : public EFilerError {
public:
    using EFilerError::EFilerError;
};

// A resource-wrapped stream lacks its resource header.
class EInvalidImage : public EFilerError {
public:
    using EFilerError::EFilerError;
};

// A syntax error in form text. The message already ends with " on line N";
// Line() gives N alone, 0 for errors that are not tied to a line.
class EParserError : public Exception {
public:
    explicit EParserError(const std::string& message, int line = 0) : Exception(message), line_(line) {}
    int Line() const noexcept { return line_; }

private:
    int line_;
};

// A number in form text could not be converted.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

}  // namespace fw
