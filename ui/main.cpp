// The program: one window on the built-in circuit, running until it is closed.

#include "ui/UApplication.h"
#include "ui/UFormTest2D.h"

int main(int argc, char** argv) {
  TApplication App(argc, argv);
  TFormTest2D Form;
  Form.show();
  return App.exec();
}
