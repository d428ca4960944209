#ifndef KELVANE_LINEFILES_STAGED_LINE_FILE_H_
#define KELVANE_LINEFILES_STAGED_LINE_FILE_H_

#include <QSaveFile>
#include <QString>
#include <string_view>

// A file written in full to a temporary beside its target and put in place only by
// Commit(), so the target holds either its old contents or all of the new ones. The
// temporary is removed when the object dies uncommitted.
class StagedLineFile {
 public:
  // Writes `text` to a temporary beside `path`. Throws RunError(kFile) naming `path`
  // when the temporary cannot be created or written; `path` is then untouched.
  StagedLineFile(const QString& path, std::string_view text);

  // Puts the file in place of `path`. Throws RunError(kFile) when it cannot; `path`
  // is then untouched.
  void Commit();

 private:
  friend void CommitPair(StagedLineFile& first, StagedLineFile& second);

  void WriteAll(std::string_view text);

  QSaveFile file_;
};

// Commits `first`, then `second`. When `second` cannot be put in place, the old contents
// of first's target are put back (or the new file removed if there was none) before the
// error is thrown, so the two targets never mix old and new.
void CommitPair(StagedLineFile& first, StagedLineFile& second);

#endif  // KELVANE_LINEFILES_STAGED_LINE_FILE_H_
