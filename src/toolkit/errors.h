#pragma once
// The run-time errors the form runtime raises. They are exceptions so that a handler
// that traps errors can catch them and every other handler lets them pass, as the
// program's error handling is per procedure.

#include <stdexcept>
#include <string>

namespace pelmora {

enum class ErrorCode {
    Overflow = 6,            // a 16-bit result out of range
    SubscriptOutOfRange = 9, // an array index or a control array member that does not exist
    TypeMismatch = 13,       // a text that does not convert
};

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(ErrorCode code, const std::string& what) : std::runtime_error(what), code_(code) {}
    ErrorCode code() const noexcept { return code_; }

private:
    ErrorCode code_;
};

} // namespace pelmora
