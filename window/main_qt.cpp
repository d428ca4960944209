#include <QApplication>
#include <QMessageBox>

#include "base/run_error.h"
#include "platform/files.h"
#include "platform/process.h"
#include "window/form1_qt.h"

int main(int argc, char* argv[]) {
  IgnoreClosedPipes();
  QApplication app(argc, argv);
  std::filesystem::path folder;
  try {
    folder = ProgramDir();
  } catch (const RunError& error) {
    WriteStandardError("kelvane: " + error.Report() + "\n");
    QMessageBox::critical(nullptr, QStringLiteral("Kelvane"),
                          QString::fromStdString(error.Report()));
    return 1;
  }
  Form1 form(folder);
  QObject::connect(&form, &Form1::ended, &app, &QCoreApplication::exit);
  form.show();
  return QApplication::exec();
}
