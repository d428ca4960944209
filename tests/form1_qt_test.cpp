#include "window/form1_qt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "platform/files.h"
#include "tests/test_support.h"
#include "window/limit_text.h"

namespace kelvane {

namespace {

// Dismisses the open message box of `form`; returns its text, or "no message".
QString DismissMessage(Form1& form) {
  auto* box = form.findChild<QMessageBox*>();
  if (box == nullptr) return "no message";
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
  const QString text = box->text();
  QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return text;
}

TEST(Form1Test, BehavesAsAPersonExpects) {
  ScratchDir dir;
  dir.Write("Race.txt", "0\n0\n1\n1,2,0,3,4\n");
  dir.Write("MaxRace.txt", "0\n0\n1\n1,2,10,3,4\n");
  dir.Write("MinRace.txt", "0\n0\n1\n1,2,<img src=x>,3,4\n");
  Form1 form(dir.path);
  QSignalSpy ended(&form, &Form1::ended);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  auto* label1 = form.findChild<QLabel*>("Label1");
  auto* text1 = form.findChild<QLineEdit*>("Text1");
  auto* btnGo = form.findChild<QPushButton*>("BtnGo");
  EXPECT_EQ(form.windowTitle(), "Kelvane");
  EXPECT_EQ(label1->text(), "Enter Maximum Pass Line Separation In Meters");
  EXPECT_EQ(text1->text(), "4");
  EXPECT_EQ(btnGo->text(), "Go");
  EXPECT_GE(label1->height(), label1->heightForWidth(label1->width())) << "prompt cut off";
  EXPECT_EQ(form.size(), QSize(315, 185));  // 4728 x 2772 twips at 96 dpi
  EXPECT_EQ(text1->geometry(), QRect(104, 92, 101, 25));
  EXPECT_EQ(label1->buddy(), text1);
  EXPECT_FALSE(btnGo->isDefault());
  EXPECT_FALSE(btnGo->autoDefault());
  EXPECT_EQ(QApplication::focusWidget(), btnGo);
  QTest::keyClick(btnGo, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), text1);

  // Return and Escape in the text box do nothing; a refused limit keeps the window.
  text1->setText("abc");
  QTest::keyClick(text1, Qt::Key_Return);
  QTest::keyClick(text1, Qt::Key_Escape);
  EXPECT_EQ(DismissMessage(form), "no message");
  QTest::mouseClick(btnGo, Qt::LeftButton);
  EXPECT_EQ(DismissMessage(form), RefusalMessage(LimitProblem::kNotANumber).data());
  EXPECT_EQ(QApplication::focusWidget(), text1);
  EXPECT_EQ(text1->selectedText(), "abc");

  // Return on the focused Go runs the job; an error report shows markup as plain text.
  QTest::keyClicks(text1, "2");  // replaces the selection
  btnGo->setFocus();
  QTest::keyClick(btnGo, Qt::Key_Return);
  EXPECT_TRUE(ended.isEmpty());
  EXPECT_EQ(DismissMessage(form), "input error: MinRace.txt:4: \"<img src=x>\" is not a number");
  EXPECT_EQ(ended, QList<QList<QVariant>>({{1}}));
}

// The line under the controls names the folder Go works in, and which inputs are not
// there, before anyone presses Go; it looks again when the window becomes active.
TEST(Form1Test, FolderLineSaysWhereGoWorksAndWhatIsMissing) {
  ScratchDir dir;
  dir.Write("Race.txt", "0\n0\n0\n");
  Form1 form(dir.path);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  auto* line = form.findChild<QLabel*>("folderLine");
  const QString folder = QString::fromStdString(DisplayPath(dir.path));
  EXPECT_EQ(line->toolTip(), folder);
  EXPECT_EQ(line->accessibleDescription(), folder);
  const auto elided = [line](const QString& text) {
    return line->fontMetrics().elidedText(text, Qt::ElideMiddle, line->width());
  };
  EXPECT_EQ(line->text(), elided("No MaxRace.txt or MinRace.txt in " + folder));
  EXPECT_EQ(line->focusPolicy(), Qt::NoFocus);
  dir.Write("MaxRace.txt", "0\n0\n0\n");
  dir.Write("MinRace.txt", "0\n0\n0\n");
  QEvent activated(QEvent::ActivationChange);
  QApplication::sendEvent(&form, &activated);
  EXPECT_EQ(line->text(), elided(folder));
}

// At a larger font nothing overlaps or is cut: the prompt grows, what is under it moves
// down, and the window grows with it.
TEST(Form1Test, LayoutHoldsAtALargerFont) {
  const QFont usual = QApplication::font();
  QFont large = usual;
  large.setPointSize(14);
  QApplication::setFont(large);
  ScratchDir dir;
  Form1 form(dir.path);
  QWidget* above = nullptr;
  for (const char* name : {"Label1", "Text1", "BtnGo", "folderLine"}) {
    auto* control = form.findChild<QWidget*>(name);
    EXPECT_GE(control->height(), control->minimumSizeHint().height()) << name;
    if (above != nullptr) {
      EXPECT_LE(above->geometry().bottom(), control->y()) << name;
    }
    EXPECT_LE(control->geometry().bottom(), form.height()) << name;
    above = control;
  }
  auto* label1 = form.findChild<QLabel*>("Label1");
  EXPECT_GE(label1->height(), label1->heightForWidth(label1->width()));
  EXPECT_GT(form.height(), 185);
  QApplication::setFont(usual);
}

// A folder, or a file in one, dropped onto the window is where Go works from then on; more
// than one item, or one that is not there, is refused with a message and changes nothing.
TEST(Form1Test, DroppedFolderIsWhereGoWorks) {
  ScratchDir first, second;
  Form1 form(first.path);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  auto* line = form.findChild<QLabel*>("folderLine");
  const auto drop = [&form](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &event);
  };
  const auto url = [](const std::filesystem::path& path) {
    return QUrl::fromLocalFile(QString::fromStdString(DisplayPath(path)));
  };
  second.Write("Race.txt", "");
  drop({url(second.path / "Race.txt")});
  EXPECT_EQ(line->toolTip(), QString::fromStdString(DisplayPath(second.path)));
  drop({url(first.path)});
  EXPECT_EQ(line->toolTip(), QString::fromStdString(DisplayPath(first.path)));
  drop({url(second.path), url(first.path)});
  EXPECT_EQ(DismissMessage(form), "2 items were dropped; drop one folder, or one file in it");
  drop({url(second.path / "missing")});
  EXPECT_EQ(DismissMessage(form), QString::fromStdString(DisplayPath(second.path / "missing")) +
                                      ": there is no such file or folder");
  EXPECT_EQ(line->toolTip(), QString::fromStdString(DisplayPath(first.path)));
}

}  // namespace

}  // namespace kelvane

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
