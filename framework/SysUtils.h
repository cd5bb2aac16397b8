// Exceptions of the framework (every failure is an exception carrying the message that the
// application's error box shows), number conversion, formatting and path texts. Platform-neutral.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>

namespace kel {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A file could not be opened ("Cannot open file "<path>". <system text>").
class EFOpenError : public Exception {
    using Exception::Exception;
};
// Image data that is no valid picture ("Bitmap image is not valid").
class EInvalidGraphic : public Exception {
    using Exception::Exception;
};
// A text that is no number ("'<text>' is not a valid integer value").
class EConvertError : public Exception {
    using Exception::Exception;
};
// A file that could not be created or written.
class EFCreateError : public Exception {
    using Exception::Exception;
};
// An index outside a list.
class EListError : public Exception {
    using Exception::Exception;
};
// A resource that is missing from the module.
class EResNotFound : public Exception {
    using Exception::Exception;
};
// Reading or writing a stream failed.
class EStreamError : public Exception {
    using Exception::Exception;
};

// Whole-number conversion of a text as the configuration reader needs it: optional sign, decimal
// digits or "$"/"0x" hexadecimal, no blanks; raises EConvertError otherwise.
int StrToInt(const std::string& text);

// One argument of Format: a whole number for %d or a text for %s.
struct TFormatArg {
    TFormatArg(int value) : IsNumber(true), Number(value) {}
    TFormatArg(const std::string& value) : IsNumber(false), Number(0), Text(value) {}
    TFormatArg(const char* value) : IsNumber(false), Number(0), Text(value) {}
    bool IsNumber;
    int Number;
    std::string Text;
};

// Fills the %d and %s placeholders of a template with the arguments in order ("%%" is a percent
// sign). The arguments are inserted as they are, so a "%" inside them stays unchanged. A
// placeholder without a matching argument raises EConvertError.
std::string Format(const std::string& pattern, std::initializer_list<TFormatArg> args);

// Paths are 8-bit texts with the backslash as separator and a colon after a drive letter.
// The path with one backslash appended unless its last character already is one.
std::string AddBackslash(const std::string& path);
// Everything up to and including the last backslash or drive colon; empty without either.
std::string ExtractFilePath(const std::string& path);
// Everything after the last backslash or drive colon: the file-name part.
std::string ExtractFileName(const std::string& path);

} // namespace kel
