#include "qt/folder_chooser.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include "app/command_line.h"
#include "platform/files.h"
#include "qt/text.h"

namespace kelvane {

namespace {

QSettings Settings() { return {QSettings::IniFormat, QSettings::UserScope, "kelvane", "kelvane"}; }

const QString kLastFolder = QStringLiteral("last-folder");

}  // namespace

QFileDialog* NewFolderChooser(QWidget* parent) {
  const std::filesystem::path last =
      QFile::encodeName(Settings().value(kLastFolder).toString()).toStdString();
  std::error_code error;
  const std::filesystem::path working = std::filesystem::current_path(error);
  const std::filesystem::path start = ChooserStart(working, ProgramDir(), last);
  auto* chooser = new QFileDialog(parent, FromUtf8(kChooseFolderTitle),
                                  QFile::decodeName(start.native().c_str()));
  chooser->setFileMode(QFileDialog::Directory);
  chooser->setOption(QFileDialog::ShowDirsOnly);
  return chooser;
}

std::filesystem::path TakeChosenFolder(const QFileDialog& chooser) {
  const QStringList chosen = chooser.selectedFiles();
  if (chosen.isEmpty()) return {};
  Settings().setValue(kLastFolder, chosen.front());
  return QFile::encodeName(chosen.front()).toStdString();
}

}  // namespace kelvane
