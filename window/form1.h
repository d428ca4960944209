#ifndef KELVANE_WINDOW_FORM1_H_
#define KELVANE_WINDOW_FORM1_H_

#include <QWidget>
#include <string>

#include "passlines/pass_line_fields.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The program's one window: a prompt, the limit in meters, and a Go button that runs
// the whole job. The window never ends the process itself; it emits ended() and the
// application ends on it.
class Form1 : public QWidget {
  Q_OBJECT

 public:
  explicit Form1(QWidget* parent = nullptr);

 signals:
  // The run is over: 0 when both pass lines were written, 1 after an error report
  // was dismissed.
  void ended(int exitStatus);

 private:
  void Form_load();
  void BtnGo_click();

  void ComputePassLines();
  void placeControls();
  void refuseLimit(const QString& message);
  void focusLimit();
  void reportError(const std::string& report);

  QLabel* Label1;
  QLineEdit* Text1;
  QPushButton* BtnGo;
  PassLineFields fields_;
};

#endif  // KELVANE_WINDOW_FORM1_H_
