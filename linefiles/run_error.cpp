#include "linefiles/run_error.h"

#include <utility>

namespace {

std::string PlacedMessage(const ErrorPlace& place, std::string_view detail) {
  std::string message(place.file);
  if (place.line > 0) {
    message += ':';
    message += std::to_string(place.line);
  }
  message += ": ";
  message += detail;
  return message;
}

}  // namespace

std::string_view KindName(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::kBounds:
      return "bounds error";
    case ErrorKind::kOverflow:
      return "overflow error";
    case ErrorKind::kFloatingPoint:
      return "floating-point error";
    case ErrorKind::kFile:
      return "file error";
    case ErrorKind::kInput:
      return "input error";
  }
  return "error";
}

RunError::RunError(ErrorKind kind, std::string message)
    : std::runtime_error(std::move(message)), kind_(kind) {}

RunError::RunError(ErrorKind kind, const ErrorPlace& place, std::string_view detail)
    : RunError(kind, PlacedMessage(place, detail)) {}

std::string RunError::Report() const { return std::string(KindName(kind_)) + ": " + what(); }
