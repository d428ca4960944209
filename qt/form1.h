#ifndef KELVANE_QT_FORM1_H_
#define KELVANE_QT_FORM1_H_

#include <QWidget>
#include <filesystem>
#include <string>

#include "app/form1_layout.h"
#include "app/go_press.h"
#include "app/held_folder.h"
#include "app/limit_text.h"
#include "app/preview_lines.h"

class QLabel;
class QMessageBox;
class QLineEdit;
class QPushButton;

namespace kelvane {
class PreviewPlot;
}

namespace kelvane {

// The program's one window: a prompt, the limit in meters, and a Go button that runs
// the whole job on the line files in `folder`; beside them, a preview of the lines Go
// will write, and under them, the folder it works in. The window never ends the process itself;
// it emits ended() and the application ends on it.
class Form1 : public QWidget {
  Q_OBJECT

 public:
  // `limit` is the text the limit's box starts with.
  explicit Form1(std::filesystem::path folder, std::string limit = std::string(kDefaultLimit),
                 QWidget* parent = nullptr);

 signals:
  // The run is over: 0 when both pass lines were written, 1 after an error report
  // was dismissed.
  void ended(int exitStatus);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Form_load();
  void BtnGo_click();

  void PlaceControls();
  void PlaceRoom();
  QMessageBox* OpenMessage(bool warning, const std::string& text);
  void React(const GoOutcome& outcome);
  void FocusLimit();
  void ShowLine(std::string_view text);
  void ElideLine();
  void ShowFolder();
  void ChooseFolder();
  void SetFolder(std::filesystem::path folder);
  void RefreshPreview();
  void ShowPreview();

  QLabel* Label1;
  QLineEdit* Text1;
  QPushButton* BtnGo;
  ControlsPlace place_{};  // where the controls go at this font and resolution
  QLabel* folder_line_;    // the folder Go works in, or what a run waits for
  QString line_text_;      // the folder line's whole text, elided to its width
  PreviewPlot* preview_;
  PreviewSource preview_source_;
  bool shown_ = false;
  HeldFolder folder_;       // none while none is chosen
  std::string limit_;       // the limit's text at the start
  float MaxSeparation = 0;  // the limit Go last ran with, in meters (CONTRIBUTING.md)
};

}  // namespace kelvane

#endif  // KELVANE_QT_FORM1_H_
