#pragma once

#include <exception>
#include <string>

namespace dovrel {

// The one error type of the program: a number and a description, raised by
// the platform layer and by the logic alike. Handlers let it pass; the forms
// runtime shows it in its default error report and the program goes on.
class Error : public std::exception {
public:
    Error(long number, std::wstring description);

    long Number() const noexcept { return number_; }
    const std::wstring& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    long number_;
    std::wstring description_;
    std::string narrow_;  // ASCII rendering of the description for what()
};

// Numbers that the program raises itself.
enum ErrorNumber : long {
    kErrInvalidProcedureCall = 5,
    kErrOverflow = 6,
    kErrFileNotFound = 53,
    kErrInvalidPropertyValue = 380,
    kErrInvalidIndex = 35600,  // a list item or column looked up outside the list
    kErrSystem = 70000,        // a Windows call failed; the description says which
};

}  // namespace dovrel
