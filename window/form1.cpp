#include "window/form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <exception>
#include <iostream>

#include "linefiles/run_error.h"
#include "passlines/compute_pass_lines.h"
#include "window/limit_text.h"

namespace {

// Positions in twips (1/1440 inch): left, top, width, height.
constexpr QRect kLabel1Twips(1500, 300, 1692, 852);
constexpr QRect kText1Twips(1560, 1380, 1512, 372);
constexpr QRect kBtnGoTwips(1920, 2040, 852, 372);
constexpr QSize kClientTwips(4728, 2772);

int ToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

QRect ToPixels(const QRect& twips, int dpi) {
  return QRect(ToPixels(twips.left(), dpi), ToPixels(twips.top(), dpi),
               ToPixels(twips.width(), dpi), ToPixels(twips.height(), dpi));
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent),
      Label1(new QLabel(QStringLiteral("Label1"), this)),
      Text1(new QLineEdit(QStringLiteral("Text1"), this)),
      BtnGo(new QPushButton(QStringLiteral("Go"), this)) {
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1->setBuddy(Text1);
  Text1->setObjectName(QStringLiteral("Text1"));
  BtnGo->setObjectName(QStringLiteral("BtnGo"));
  BtnGo->setAutoDefault(false);
  BtnGo->setDefault(false);

  connect(BtnGo, &QPushButton::clicked, this, &Form1::BtnGo_click);

  Form_load();
  placeControls();
  setWindowTitle(QStringLiteral("Kelvane"));
  setTabOrder(BtnGo, Text1);
  BtnGo->setFocus();
}

void Form1::Form_load() {
  Label1->setText(QStringLiteral("Enter Maximum Pass Line Separation In Meters"));
  Text1->setText(QStringLiteral("4"));
}

void Form1::BtnGo_click() {
  const LimitReading limit = ReadLimitText(Text1->text().toStdString());
  if (limit.problem != LimitProblem::kNone) {
    refuseLimit(QString::fromUtf8(RefusalMessage(limit.problem)));
    return;
  }
  fields_.MaxSeparation = limit.meters;
  try {
    ComputePassLines();
  } catch (const RunError& error) {
    reportError(error.Report());
    return;
  } catch (const std::exception& error) {
    reportError(std::string("run-time error: ") + error.what());
    return;
  }
  emit ended(0);
}

void Form1::ComputePassLines() { ::ComputePassLines(fields_); }

// The layout is kept in twips and converted at the screen's logical resolution. The
// prompt's box grows downward, should the font need more lines than it holds.
void Form1::placeControls() {
  const int dpi = logicalDpiY();
  const QRect label = ToPixels(kLabel1Twips, dpi);
  Label1->setGeometry(
      label.adjusted(0, 0, 0, std::max(0, Label1->heightForWidth(label.width()) - label.height())));
  Text1->setGeometry(ToPixels(kText1Twips, dpi));
  BtnGo->setGeometry(ToPixels(kBtnGoTwips, dpi));
  setFixedSize(ToPixels(kClientTwips.width(), dpi), ToPixels(kClientTwips.height(), dpi));
}

void Form1::refuseLimit(const QString& message) {
  auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), message, QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  connect(box, &QMessageBox::finished, this, &Form1::focusLimit);
  box->open();
}

void Form1::focusLimit() {
  Text1->setFocus();
  Text1->selectAll();
}

void Form1::reportError(const std::string& report) {
  std::cerr << "kelvane: " << report << std::endl;
  auto* box = new QMessageBox(QMessageBox::Critical, windowTitle(), QString::fromStdString(report),
                              QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  connect(box, &QMessageBox::finished, this, [this] { emit ended(1); });
  box->open();
}
