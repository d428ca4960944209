#include <QApplication>

#include "linefiles/platform.h"
#include "window/form1_qt.h"

int main(int argc, char* argv[]) {
  IgnoreClosedPipes();
  QApplication app(argc, argv);
  Form1 form;
  QObject::connect(&form, &Form1::ended, &app, &QCoreApplication::exit);
  form.show();
  return QApplication::exec();
}
