// The one failure family of the system: every failure carries a UTF-16
// message that the top handlers show as it stands.
#pragma once

#include <exception>
#include <string>

namespace rtl {

class Exception : public std::exception {
 public:
  explicit Exception(std::u16string message);
  const std::u16string& Message() const noexcept { return message_; }
  // The message in UTF-8, for diagnostics outside the system's own output.
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::u16string message_;
  std::string utf8_;
};

// A text or value that cannot become the type asked for.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A Variant that cannot be converted to the kind asked for.
class EVariantTypeCastError : public Exception {
 public:
  using Exception::Exception;
};

// A Variant whose value does not fit in the kind asked for; a kind of cast error.
class EVariantOverflowError : public EVariantTypeCastError {
 public:
  using EVariantTypeCastError::EVariantTypeCastError;
};

// An operating-system call failed; Code() is the errno-style code.
class EOSError : public Exception {
 public:
  EOSError(int code, std::u16string message) : Exception(std::move(message)), code_(code) {}
  int Code() const noexcept { return code_; }

 private:
  int code_;
};

// The database server or the dataset layer refused an operation.
class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
};

// A file could not be created.
class EFCreateError : public Exception {
 public:
  using Exception::Exception;
};

// A list or collection was asked for an item it does not hold.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

// An internal check failed; File() and Line() name the check.
class EAssertionFailed : public Exception {
 public:
  EAssertionFailed(std::u16string message, const char* file, int line)
      : Exception(std::move(message)), file_(file), line_(line) {}
  const char* File() const noexcept { return file_; }
  int Line() const noexcept { return line_; }

 private:
  const char* file_;
  int line_;
};

// "System Error.  Code: %d.\r\n%s%s" for code, or "A call to an OS function
// failed" for code 0; the text is the system's own for that code.
EOSError OSError(int code);

}  // namespace rtl
