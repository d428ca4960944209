#include "linefiles/lp_file_reader.h"

#include <gtest/gtest.h>

#include <QDir>

#include "linefiles/globals.h"
#include "linefiles/run_error.h"
#include "tests/scratch_dir.h"

namespace {

const std::string kFourRows = "1\n2\n4\n1,1,1,1,1\n2,2,2,2,2\n3,3,3,3,3\n4,4,4,4,4\n";

class LpFileReaderTest : public testing::Test {
 protected:
  // The error that `action` throws.
  template <typename Action>
  static RunError ErrorOf(Action action) {
    try {
      action();
    } catch (const RunError& error) {
      return error;
    }
    return RunError(ErrorKind::kInput, "no error");
  }

  ScratchDir dir_;
};

TEST_F(LpFileReaderTest, ReadLooksOnlyInTheProgramDirectory) {
  ScratchDir working_dir;  // now the program directory; `dir_` plays the working directory
  dir_.Write("Race.txt", kFourRows);
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir_.Path("")));
  SharedCount = 9;
  const bool found = ReadLineFile("Race.txt");
  QDir::setCurrent(previous);
  EXPECT_FALSE(found);
  EXPECT_EQ(SharedCount, 9);
  EXPECT_FALSE(SharedGrid);
}

TEST_F(LpFileReaderTest, AnEntryThatCannotBeReadIsAFileError) {
  ASSERT_TRUE(QDir().mkdir(dir_.Path("Race.txt")));
  EXPECT_TRUE(FileExists(dir_.Path("Race.txt")));
  const RunError error = ErrorOf([] { ReadLineFile("Race.txt"); });
  EXPECT_EQ(error.kind(), ErrorKind::kFile);
  EXPECT_TRUE(std::string(error.what())
                  .starts_with(dir_.Path("Race.txt").toStdString() + ": cannot be opened"))
      << error.what();
}

TEST_F(LpFileReaderTest, WriteReplacesAnOldLongerFileWhole) {
  dir_.Write("Pass1.txt", kFourRows + kFourRows);
  dir_.Write("Race.txt", "5\n6\n1\n1,2,3,4,5\n");
  ReadLineFile("Race.txt");
  WriteLineFile("Pass1.txt");
  EXPECT_EQ(dir_.Read("Pass1.txt"), "5\r\n6\r\n1\r\n1,2,3,4,5\r\n");
  EXPECT_EQ(dir_.Entries(), QStringList({"Pass1.txt", "Race.txt"}));
}

TEST_F(LpFileReaderTest, WriteWithoutAGridCreatesNothing) {
  const RunError error = ErrorOf([] { WriteLineFile("Pass1.txt"); });
  EXPECT_EQ(error.kind(), ErrorKind::kBounds);
  EXPECT_STREQ(error.what(), "Pass1.txt:1: there is no line to write");
  EXPECT_TRUE(dir_.Entries().isEmpty());
}

TEST_F(LpFileReaderTest, AFailedPairLeavesBothOldFiles) {
  dir_.Write("Pass1.txt", "old 1");
  dir_.Write("Pass2.txt", "old 2");
  SharedGrid = LineGrid(0);
  StagedLineFile first = StageLineFile("Pass1.txt");
  StagedLineFile second = StageLineFile("Pass2.txt");
  // The second target turns into a directory after both files were staged.
  ASSERT_TRUE(QFile::remove(dir_.Path("Pass2.txt")));
  ASSERT_TRUE(QDir().mkdir(dir_.Path("Pass2.txt")));
  const RunError error = ErrorOf([&] { CommitPair(first, second); });
  EXPECT_EQ(error.kind(), ErrorKind::kFile);
  EXPECT_EQ(dir_.Read("Pass1.txt"), "old 1");
  EXPECT_EQ(dir_.Entries(), QStringList({"Pass1.txt", "Pass2.txt"}));
}

}  // namespace
