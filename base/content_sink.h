#ifndef KELVANE_BASE_CONTENT_SINK_H_
#define KELVANE_BASE_CONTENT_SINK_H_

#include <functional>
#include <string_view>

namespace kelvane {

// Takes the next piece of a file's content.
using ContentSink = std::function<void(std::string_view piece)>;

}  // namespace kelvane

#endif  // KELVANE_BASE_CONTENT_SINK_H_
