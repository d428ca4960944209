#include "qt/folder_chooser.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

#include "app/folder_choice.h"
#include "platform/files.h"
#include "platform/process.h"
#include "qt/crossings.h"

namespace kelvane {

namespace {

const QString kLastFolder = QStringLiteral("last-folder");
constexpr qint64 kMaxSettingsBytes = 64 * 1024;

// The settings file, where it is a regular file of a settings file's size or is not there
// yet; nullptr for anything else there (a FIFO, a device, a huge file), which is never
// opened, so that it can neither keep the program waiting nor fill its memory.
std::unique_ptr<QSettings> Settings() {
  const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                       QStringLiteral("/kelvane/kelvane.ini");
  const QFileInfo file(path);
  if (file.exists() && (!file.isFile() || file.size() > kMaxSettingsBytes)) return nullptr;
  return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

}  // namespace

QFileDialog* NewFolderChooser(QWidget* parent, const std::filesystem::path& in_use) {
  const std::unique_ptr<QSettings> settings = Settings();
  const std::filesystem::path last =
      settings ? ToPath(settings->value(kLastFolder).toString()) : "";
  std::error_code error;
  const std::filesystem::path working = std::filesystem::current_path(error);
  const std::filesystem::path start =
      ChooserStart(in_use, StartedFromTerminal(), working, ProgramDir(), last);
  auto* chooser = new QFileDialog(parent, FromUtf8(kChooseFolderTitle), FromPath(start));
  chooser->setFileMode(QFileDialog::Directory);
  chooser->setOption(QFileDialog::ShowDirsOnly);
  return chooser;
}

std::filesystem::path TakeChosenFolder(const QFileDialog& chooser) {
  const QStringList chosen = chooser.selectedFiles();
  if (chosen.isEmpty()) return {};
  if (const std::unique_ptr<QSettings> settings = Settings()) {
    settings->setValue(kLastFolder, chosen.front());
  }
  return ToPath(chosen.front());
}

}  // namespace kelvane
