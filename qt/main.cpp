#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QResource>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/folder_choice.h"
#include "app/form1_layout.h"
#include "app/go_press.h"
#include "kelvane_version.h"
#include "platform/files.h"
#include "platform/process.h"
#include "qt/crossings.h"
#include "qt/folder_chooser.h"
#include "qt/form1.h"

namespace kelvane {

namespace {

// Whether Qt has a screen to show a dialog on; without one it would end the process.
bool HasScreen() {
  return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
         qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

// The window's icon, from plain pixels: Qt reads an image file only after searching its
// image plugins, which the window's first appearance would wait for.
QIcon WindowIcon() {
  constexpr int kSide = 64;
  const QByteArray pixels = QResource(QStringLiteral(":/kelvane-64.rgba")).uncompressedData();
  if (pixels.size() != kSide * kSide * 4) return {};
  const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), kSide, kSide,
                     QImage::Format_RGBA8888);
  return QIcon(QPixmap::fromImage(image));
}

// Qt looks for plugins beside the program too, and others may be able to write there (the
// program is meant to sit in the folder of its lines). Qt has no switch against it; but a
// folder that QT_PLUGIN_PATH named before the application exists, and that setLibraryPaths
// then left out, stays out of the paths the application builds, the program's among them.
void KeepPluginsFromTheProgramFolder() {
  const QByteArray user_paths = qgetenv("QT_PLUGIN_PATH");
  const QString program_dir = QDir(FromPath(ProgramDir())).canonicalPath();
  qputenv("QT_PLUGIN_PATH",
          user_paths + QDir::listSeparator().toLatin1() + QFile::encodeName(program_dir));
  QStringList paths = QCoreApplication::libraryPaths();
  paths.removeAll(program_dir);
  QCoreApplication::setLibraryPaths(paths);
  if (user_paths.isNull()) {
    qunsetenv("QT_PLUGIN_PATH");
  } else {
    qputenv("QT_PLUGIN_PATH", user_paths);
  }
}

// What Qt says while it opens the display is held back: where it cannot open one, Qt ends
// the process with an abort after a page of advice, and the user is owed one line and
// status 1 instead. Held messages are passed on once the display is open.
std::vector<std::pair<QtMsgType, QString>> held_messages;
QtMessageHandler qt_messages = nullptr;

void HoldMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    held_messages.emplace_back(type, message);
    return;
  }
  // The first thing Qt said, such as "could not connect to display :1", is the reason; a
  // display with no plugin of Qt's for it is not a missing display.
  const QString reason = (held_messages.empty() ? message : held_messages.front().second).trimmed();
  const bool no_plugin = reason.contains(QLatin1String("Could not find the Qt platform plugin"));
  WriteErrorLine((no_plugin
                      ? "Qt's plugin for this display is not installed (on Debian and Ubuntu, "
                        "qt6-wayland for Wayland, qt6-qpa-plugins for X11): "
                      : "no display to open the window on: ") +
                 ToUtf8(reason));
  std::_Exit(1);
}

void PassHeldMessages() {
  qInstallMessageHandler(qt_messages);
  for (const auto& [type, message] : held_messages) qt_messages(type, {}, message);
  held_messages.clear();
}

}  // namespace

}  // namespace kelvane

int main(int argc, char* argv[]) {
  kelvane::IgnoreClosedPipes();
  const std::vector<std::filesystem::path> arguments(argv + 1, argv + argc);
  const kelvane::Command command = kelvane::StartCommand(arguments);
  if (command.action == kelvane::CommandAction::kHelp ||
      command.action == kelvane::CommandAction::kVersion) {
    return kelvane::WriteStandardOutput(command.text) ? 0 : 1;
  }
  if (command.action == kelvane::CommandAction::kNoWindow) {
    return kelvane::RunInEach(command.folders, command.limit);  // no display opened
  }
  // A refusal is on standard error already; a dialog only where nobody reads it there.
  if (command.action == kelvane::CommandAction::kRefuse &&
      (command.windowless || command.errors_read || !kelvane::HasScreen()))
    return command.exit_status;
  if (!kelvane::HasScreen()) {
    kelvane::WriteErrorLine(
        "no display to open the window on: neither DISPLAY nor WAYLAND_DISPLAY is set");
    return 1;
  }
  kelvane::KeepPluginsFromTheProgramFolder();
  int qt_argc = 1;  // every argument is Kelvane's own: none is an option for Qt
  kelvane::qt_messages = qInstallMessageHandler(kelvane::HoldMessage);
  QApplication app(qt_argc, argv);
  kelvane::PassHeldMessages();
  QApplication::setWindowIcon(kelvane::WindowIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral(KELVANE_APP_ID));
  if (command.action == kelvane::CommandAction::kRefuse) {
    QMessageBox box(QMessageBox::Critical, kelvane::FromUtf8(kelvane::kCaption),
                    kelvane::FromUtf8(command.text));
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return command.exit_status;
  }
  std::filesystem::path folder = command.folders.front();
  if (kelvane::AsksForFolder(command)) {  // cancelled, no folder is chosen
    const std::unique_ptr<QFileDialog> chooser(kelvane::NewFolderChooser(nullptr, {}));
    folder = chooser->exec() == QDialog::Accepted ? kelvane::TakeChosenFolder(*chooser) : "";
  }
  kelvane::Form1 form(folder, command.limit);
  QObject::connect(&form, &kelvane::Form1::ended, &app, &QCoreApplication::exit);
  form.show();
  return QApplication::exec();
}
