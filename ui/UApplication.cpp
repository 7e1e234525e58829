#include "ui/UApplication.h"

#include <QMessageBox>
#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* Receiver, QEvent* Event) {
  // The last net for an error no handler caught: report it and go on with the next event.
  try {
    return QApplication::notify(Receiver, Event);
  } catch (const std::exception& E) {
    ShowError(E.what());
  } catch (...) {
    ShowError("Unknown error.");
  }
  return false;
}

void TApplication::ShowError(const std::string& Message) {
  QMessageBox Box(QMessageBox::Critical, QStringLiteral("Error"), QString::fromStdString(Message),
                  QMessageBox::Ok, activeWindow());
  Box.setObjectName(QStringLiteral("ErrorDialog"));
  Box.exec();
}

void RunHandler(const std::function<void()>& Handler) {
  try {
    Handler();
  } catch (const std::exception& E) {
    TApplication::ShowError(E.what());
  } catch (...) {
    TApplication::ShowError("Unknown error.");
  }
}
