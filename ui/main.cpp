// The program: one window on the built-in circuit, running until it is closed.

#include <QTimer>

#include "ui/UApplication.h"
#include "report/UCrashHandler.h"
#include "ui/UFormTest2D.h"

int main(int argc, char** argv) {
  TApplication App(argc, argv);
  const TErrorLog Log = TApplication::ErrorLog();
  InstallCrashHandler(Log);
  TFormTest2D Form;
  Form.show();
  // A crash of the last run is offered once, over the window.
  const QString Crash = TakeUnseenCrashReport(Log);
  if (!Crash.isEmpty())
    QTimer::singleShot(0, &Form, [&] { OfferCrashReport(&Form, Crash, Log.ChoosePath()); });
  return App.exec();
}
