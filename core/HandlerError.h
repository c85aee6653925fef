// Errors raised inside an event handler. The window traps them at the event
// boundary (SvZRV_02::RunHandler) so that no error ever ends the program;
// start_Click traps its own to show "Wrong Parameter !".
#pragma once

#include <stdexcept>
#include <string>

namespace zrv {

class HandlerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value does not fit the width of the integer it is stored in.
class OverflowError : public HandlerError {
 public:
  explicit OverflowError(const std::string& what = "Overflow") : HandlerError(what) {}
};

// A text that must be a number is not one.
class TypeMismatchError : public HandlerError {
 public:
  explicit TypeMismatchError(const std::string& what = "Type mismatch") : HandlerError(what) {}
};

// A failure reported by the socket, with the Winsock-style error number.
class SocketError : public HandlerError {
 public:
  SocketError(int number, const std::string& what) : HandlerError(what), number_(number) {}
  int Number() const { return number_; }

 private:
  int number_;
};

// A file that could not be opened, written or renamed.
class FileError : public HandlerError {
 public:
  using HandlerError::HandlerError;
};

}  // namespace zrv
