#ifndef KELVANE_LINEFILES_FILE_ERROR_H_
#define KELVANE_LINEFILES_FILE_ERROR_H_

#include <QFileDevice>
#include <string_view>

// Throws RunError(kFile) naming the file's path, what went wrong and the system's
// reason: "/dir/Pass1.txt: cannot be written: No space left on device".
[[noreturn]] void ThrowFileError(const QFileDevice& file, std::string_view problem);

#endif  // KELVANE_LINEFILES_FILE_ERROR_H_
