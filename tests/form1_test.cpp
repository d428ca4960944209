#include "window/form1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "tests/scratch_dir.h"
#include "window/limit_text.h"

namespace {

class Form1Test : public testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("Pass1.txt", "old pass 1");
    dir_.Write("Pass2.txt", "old pass 2");
    form_.show();
    form_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
  }

  // Race 0, max 10, min -6 on one row: Pass1 shows the limit up to 5, Pass2 up to 3.
  void WriteInputs() {
    dir_.Write("Race.txt", "0\n0\n1\n1,2,0,3,4\n");
    dir_.Write("MaxRace.txt", "0\n0\n1\n1,2,10,3,4\n");
    dir_.Write("MinRace.txt", "0\n0\n1\n1,2,-6,3,4\n");
  }

  void Type(const QString& text) {
    text1()->clear();
    QTest::keyClicks(text1(), text);
  }

  void PressGo() { QTest::mouseClick(btnGo(), Qt::LeftButton); }

  // Dismisses the open message box and returns its text.
  QString DismissMessage() {
    auto* box = form_.findChild<QMessageBox*>();
    if (box == nullptr) return "no message";
    const QString text = box->text();
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return text;
  }

  QLabel* label1() { return form_.findChild<QLabel*>("Label1"); }
  QLineEdit* text1() { return form_.findChild<QLineEdit*>("Text1"); }
  QPushButton* btnGo() { return form_.findChild<QPushButton*>("BtnGo"); }

  ScratchDir dir_;
  Form1 form_;
  QSignalSpy ended_{&form_, &Form1::ended};
};

TEST_F(Form1Test, OpensWithThePromptTheDefaultAndFocusOnGo) {
  EXPECT_EQ(form_.windowTitle(), "Kelvane");
  EXPECT_EQ(label1()->text(), "Enter Maximum Pass Line Separation In Meters");
  EXPECT_EQ(text1()->text(), "4");
  EXPECT_EQ(btnGo()->text(), "Go");
  EXPECT_EQ(QApplication::focusWidget(), btnGo());
  EXPECT_EQ(label1()->buddy(), text1());
  EXPECT_FALSE(btnGo()->isDefault() || btnGo()->autoDefault());
  EXPECT_GE(label1()->height(), label1()->heightForWidth(label1()->width())) << "prompt cut off";
  EXPECT_EQ(form_.size(), QSize(315, 185));  // 4728 x 2772 twips at 96 dpi
  EXPECT_EQ(text1()->geometry(), QRect(104, 92, 101, 25));

  QTest::keyClick(btnGo(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), text1());
}

TEST_F(Form1Test, GoWithTheDefaultLimitWritesBothPassLinesAndEnds) {
  WriteInputs();
  PressGo();
  ASSERT_EQ(ended_.size(), 1);
  EXPECT_EQ(ended_.at(0).at(0).toInt(), 0);
  EXPECT_EQ(dir_.Read("Pass1.txt"), "0\r\n0\r\n1\r\n1,2,4,3,4\r\n");
  EXPECT_EQ(dir_.Read("Pass2.txt"), "0\r\n0\r\n1\r\n1,2,-3,3,4\r\n");
}

TEST_F(Form1Test, AnUnusableLimitIsRefusedUntilItIsCorrected) {
  WriteInputs();
  const struct {
    const char* text;
    LimitProblem problem;
  } cases[] = {{"abc", LimitProblem::kNotANumber}, {"-3", LimitProblem::kNegative}};
  for (const auto& c : cases) {
    Type(c.text);
    PressGo();
    EXPECT_EQ(DismissMessage(), QString::fromUtf8(RefusalMessage(c.problem))) << c.text;
    EXPECT_EQ(QApplication::focusWidget(), text1()) << c.text;
    EXPECT_EQ(text1()->selectedText(), c.text) << c.text;
  }
  EXPECT_TRUE(ended_.isEmpty());
  EXPECT_EQ(dir_.Read("Pass1.txt"), "old pass 1");

  QTest::keyClicks(text1(), "2,5");  // replaces the selected text; reads as 2
  PressGo();
  ASSERT_EQ(ended_.size(), 1);
  EXPECT_EQ(dir_.Read("Pass1.txt"), "0\r\n0\r\n1\r\n1,2,2,3,4\r\n");
  EXPECT_EQ(dir_.Read("Pass2.txt"), "0\r\n0\r\n1\r\n1,2,-2,3,4\r\n");
}

TEST_F(Form1Test, AnErrorIsReportedAndEndsTheRunWhenDismissed) {
  dir_.Write("Race.txt", "0\n0\n1\n1,2,0,3,4\n");
  PressGo();
  EXPECT_TRUE(ended_.isEmpty());
  const QString report = DismissMessage();
  EXPECT_TRUE(report.startsWith("file error: ")) << report.toStdString();
  EXPECT_TRUE(report.endsWith("missing input file(s): MaxRace.txt, MinRace.txt"))
      << report.toStdString();
  ASSERT_EQ(ended_.size(), 1);
  EXPECT_EQ(ended_.at(0).at(0).toInt(), 1);
  EXPECT_EQ(dir_.Read("Pass1.txt"), "old pass 1");
  EXPECT_EQ(dir_.Read("Pass2.txt"), "old pass 2");
}

TEST_F(Form1Test, ClosingWithoutGoTouchesNothing) {
  WriteInputs();
  const QStringList before = dir_.Entries();
  EXPECT_TRUE(form_.close());
  EXPECT_TRUE(ended_.isEmpty());
  EXPECT_EQ(dir_.Entries(), before);
  EXPECT_EQ(dir_.Read("Pass1.txt"), "old pass 1");
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
