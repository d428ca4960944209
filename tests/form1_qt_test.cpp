#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAccessible>
#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWheelEvent>

#include "app/folder_line.h"
#include "app/limit_text.h"
#include "platform/files.h"
#include "qt/crossings.h"
#include "qt/form1.h"
#include "qt/preview.h"
#include "tests/test_support.h"
#include "tests/window_preview_checks.h"

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

// The preview as drawn, and the colours it draws each ink in.
Picture Grab(PreviewPlot& preview) {
  const QImage image = preview
                           .grab()  // a pixel of each of the layout's
                           .toImage()
                           .scaled(preview.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                           .convertToFormat(QImage::Format_RGB32);
  Picture picture{image.width(),
                  {},
                  PreviewInks(preview.palette().base().color().rgb() & 0xFFFFFFu,
                              preview.palette().color(QPalette::Text).rgb() & 0xFFFFFFu)};
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    picture.pixels.insert(picture.pixels.end(), line, line + image.width());
  }
  return picture;
}

// The window as a person meets it: its texts and places, the focus on Go and then the
// limit; Return and Escape in the text box do nothing; a refused limit keeps the window and
// is selected for typing again. The preview reads the files only once the window is on the
// screen, takes the room beside the controls but never the focus, and tells a screen reader
// what it shows and why a limit is refused. Return on the focused Go runs the job, and an
// error report shows markup as plain text.
TEST(Form1Test, BehavesAsAPersonExpects) {
  ScratchDir dir;
  WriteSineLines(dir, 300);
  Form1 form(dir.path);
  QSignalSpy ended(&form, &Form1::ended);
  auto* label1 = form.findChild<QLabel*>("Label1");
  auto* text1 = form.findChild<QLineEdit*>("Text1");
  auto* btnGo = form.findChild<QPushButton*>("BtnGo");
  auto* preview = form.findChild<PreviewPlot*>("preview");
  QCoreApplication::processEvents();
  EXPECT_TRUE(preview->lines().separations[0].empty());
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !preview->lines().separations[3].empty(); }));
  EXPECT_EQ(form.windowTitle(), "Kelvane");
  EXPECT_EQ(label1->text(), "Enter Maximum Pass Line Separation In Meters");
  EXPECT_EQ(text1->text(), "4");
  EXPECT_EQ(btnGo->text(), "Go");
  EXPECT_GE(label1->height(), label1->heightForWidth(label1->width())) << "prompt cut off";
  EXPECT_EQ(QApplication::focusWidget(), btnGo);
  QTest::keyClick(btnGo, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), text1);
  text1->setText("abc");
  QTest::keyClick(text1, Qt::Key_Return);
  QTest::keyClick(text1, Qt::Key_Escape);
  EXPECT_EQ(DismissMessage(form), "no message");
  QTest::mouseClick(btnGo, Qt::LeftButton);
  EXPECT_EQ(DismissMessage(form), RefusalMessage(LimitProblem::kNotANumber).data());
  EXPECT_EQ(QApplication::focusWidget(), text1);
  EXPECT_EQ(text1->selectedText(), "abc");

  text1->setText("4");
  form.resize(1000, 600);
  EXPECT_EQ(preview->geometry().right(), 1000 - 9);  // takes the room, less the margin
  EXPECT_EQ(preview->accessibleDescription().toStdString(), PreviewDescription(preview->lines()));
  text1->setText("-1");
  EXPECT_EQ(text1->accessibleDescription(), RefusalMessage(LimitProblem::kNegative).data());

  dir.Write("MinRace.txt", "0\n0\n1\n1,2,<img src=x>,3,4\n");
  text1->setText("2");
  btnGo->setFocus();
  QTest::keyClick(btnGo, Qt::Key_Return);
  EXPECT_TRUE(ended.isEmpty());
  EXPECT_EQ(DismissMessage(form), "input error: MinRace.txt:4: \"<img src=x>\" is not a number");
  EXPECT_EQ(ended, QList<QList<QVariant>>({{1}}));
}

// With no folder chosen, the window says how to choose one, and Go says the same; the
// chooser opens where the folder last chosen was, then in the folder in use. The folder line
// is a link to screen readers, the preview a chart, and a click on either opens the chooser.
// The folder of a file dropped is what the line names, looked at again when the window
// becomes active, and held: Go works in it even once another folder takes its path. A drop
// of more than one item is refused, changing nothing.
TEST(Form1Test, FolderIsChosenOrDropped) {
  ScratchDir last, dropped;
  QSettings(QSettings::IniFormat, QSettings::UserScope, "kelvane", "kelvane")
      .setValue("last-folder", QString::fromStdString(last.path.string()));
  Form1 form("");
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  auto* line = form.findChild<QLabel*>("folderLine");
  const auto elided = [line](const QString& text) {
    return line->fontMetrics().elidedText(text, Qt::ElideMiddle, line->width());
  };
  EXPECT_EQ(line->text(), elided(FromUtf8(kNoFolderText)));
  QTest::mouseClick(form.findChild<QPushButton*>("BtnGo"), Qt::LeftButton);
  EXPECT_EQ(DismissMessage(form), FromUtf8(kNoFolderReport));
  // Where the chooser opens on Ctrl+O (or a click on `clicked`), then cancelled.
  const auto chooser_at = [&form](QWidget* clicked = nullptr) {
    if (clicked) QTest::mouseClick(clicked, Qt::LeftButton);
    if (!clicked) QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
    auto* chooser = form.findChild<QFileDialog*>();
    const std::string at = chooser ? chooser->directory().absolutePath().toStdString() : "none";
    if (chooser) chooser->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return at;
  };
  EXPECT_EQ(chooser_at(), last.path.string());  // not started from a terminal
  auto* preview = form.findChild<PreviewPlot*>("preview");
  EXPECT_EQ(chooser_at(preview), last.path.string());  // it says "click here" too
  EXPECT_EQ(QAccessible::queryAccessibleInterface(line)->role(), QAccessible::Link);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(preview)->role(), QAccessible::Chart);
  // A FIFO at the settings file is passed over, never waited on.
  const std::string ini =
      QSettings(QSettings::IniFormat, QSettings::UserScope, "kelvane", "kelvane")
          .fileName()
          .toStdString();
  std::filesystem::remove(ini);
  ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0);
  EXPECT_NE(chooser_at(), "none");
  std::filesystem::remove(ini);

  const auto drop = [&form](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &event);
  };
  const QUrl race =
      QUrl::fromLocalFile(QString::fromStdString(DisplayPath(dropped.path / "Race.txt")));
  WriteSineLines(dropped, 30);
  drop({race});
  EXPECT_EQ(line->toolTip(), QString::fromStdString(DisplayPath(dropped.path)));
  EXPECT_EQ(form.findChild<PreviewPlot*>("preview")->lines().separations[4].size(), 30u);
  EXPECT_EQ(chooser_at(), dropped.path.string());  // the folder in use
  drop({race, race});
  EXPECT_EQ(DismissMessage(form), "2 items were dropped; drop one folder, or one file in it");
  std::filesystem::remove(dropped.path / "MinRace.txt");
  QEvent activated(QEvent::ActivationChange);
  QApplication::sendEvent(&form, &activated);
  EXPECT_EQ(line->text(), elided("No MinRace.txt in " + line->toolTip()));
  // Another folder put at its path: the line says so, and Go still works in the one chosen.
  WriteSineLines(dropped, 30);
  const std::filesystem::path moved = dropped.path.string() + "-moved";
  std::filesystem::rename(dropped.path, moved);
  std::filesystem::create_directory(dropped.path);
  QApplication::sendEvent(&form, &activated);
  EXPECT_TRUE(line->text().contains(" now leads to another folder")) << line->text().toStdString();
  QTest::mouseClick(form.findChild<QPushButton*>("BtnGo"), Qt::LeftButton);
  EXPECT_TRUE(std::filesystem::exists(moved / "Pass1.txt"));
  EXPECT_EQ(dropped.Entries(), "");
  std::filesystem::remove_all(moved);
}

// At 9 points (as it starts), 14, 20 and 28, the preview at the window's first size shows the
// lines as a person expects, and cuts nothing.
class Form1FontTest : public testing::TestWithParam<int> {};

TEST_P(Form1FontTest, PreviewFitsAtTheFirstSize) {
  const QFont usual = QApplication::font();
  QFont font = usual;
  if (GetParam() > 0) font.setPointSize(GetParam());
  QApplication::setFont(font);
  const ScratchDir dir;
  WriteSineLines(dir, 300);
  Form1 form(dir.path);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  auto* preview = form.findChild<PreviewPlot*>("preview");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !preview->lines().separations[3].empty(); }));
  const QPoint middle(preview->width() / 2, preview->height() / 2);
  QEvent activated(QEvent::ActivationChange);
  CheckPreviewOfSineLines(
      *preview,
      {.grab = [preview] { return Grab(*preview); },
       .type_limit =
           [&form](const char* text) { form.findChild<QLineEdit*>("Text1")->setText(text); },
       .point =
           [&] {
             QMouseEvent moved(QEvent::MouseMove, middle, preview->mapToGlobal(middle),
                               Qt::NoButton, Qt::NoButton, Qt::NoModifier);
             QApplication::sendEvent(preview, &moved);
           },
       .wheel =
           [&] {
             QWheelEvent wheel(middle, preview->mapToGlobal(middle), {}, {0, 120}, Qt::NoButton,
                               Qt::NoModifier, Qt::NoScrollPhase, false);
             QApplication::sendEvent(preview, &wheel);
           },
       .double_click = [&] { QTest::mouseDClick(preview, Qt::LeftButton, {}, middle); },
       .activate = [&] { QApplication::sendEvent(&form, &activated); }},
      dir);
  QApplication::setFont(usual);
}

INSTANTIATE_TEST_SUITE_P(Points, Form1FontTest, testing::Values(0, 14, 20, 28));

}  // namespace

}  // namespace kelvane

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const kelvane::ScratchDir config;  // the folder last chosen is kept there
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path.string()));
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
