#ifndef KELVANE_LINEFILES_LINE_TEXT_ENCODING_H_
#define KELVANE_LINEFILES_LINE_TEXT_ENCODING_H_

#include <string>
#include <string_view>

namespace kelvane {

// The text of a line file from its bytes as editors save them: a UTF-8 byte-order mark is
// dropped, UTF-16 with a little- or big-endian mark is turned into UTF-8 (in `storage`),
// and one DOS end-of-file byte (0x1A) at the very end is dropped. Any other bytes are
// returned as they are; the result views `bytes` or `storage`.
std::string_view DecodeLineText(std::string_view bytes, std::string& storage);

}  // namespace kelvane

#endif  // KELVANE_LINEFILES_LINE_TEXT_ENCODING_H_
