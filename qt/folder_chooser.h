#ifndef KELVANE_QT_FOLDER_CHOOSER_H_
#define KELVANE_QT_FOLDER_CHOOSER_H_

#include <QFileDialog>
#include <filesystem>

namespace kelvane {

// A chooser of one folder for `parent` (none: a window of its own), opening where
// ChooserStart says for the folder in use `in_use`; the folder last chosen is kept per user in the
// XDG config folder
// ("kelvane/kelvane.ini"), read only where it is a regular file of a settings file's size.
QFileDialog* NewFolderChooser(QWidget* parent, const std::filesystem::path& in_use);

// The folder `chooser` was left with, now the one last chosen.
std::filesystem::path TakeChosenFolder(const QFileDialog& chooser);

}  // namespace kelvane

#endif  // KELVANE_QT_FOLDER_CHOOSER_H_
