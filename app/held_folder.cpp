#include "app/held_folder.h"

#include <utility>

#include "platform/file_error.h"

namespace kelvane {

HeldFolder::HeldFolder(std::filesystem::path path) : path_(std::move(path)) {
  if (!path_.empty()) error_ = folder_.Open(path_);
}

const Folder& HeldFolder::Get() const {
  if (error_) FailFile(path_, "cannot be opened", error_);
  return folder_;
}

bool HeldFolder::Moved() const {
  const Folder* held = Opened();
  if (held == nullptr) return false;
  Folder now;
  FileFacts held_facts, now_facts;
  if (held->Facts(held_facts) || now.Open(path_) || now.Facts(now_facts)) return true;
  return !SameFile(held_facts, now_facts);
}

}  // namespace kelvane
