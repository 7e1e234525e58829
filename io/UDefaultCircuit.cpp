#include "io/UDefaultCircuit.h"

#include <QtCore/qresource.h>

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void InitCircuitResource() { Q_INIT_RESOURCE(circuit); }

QImage DefaultCircuitImage() {
  // A static library's resources are only linked in when something refers to them.
  InitCircuitResource();
  QImage Image(QStringLiteral(":/circuit/DefaultCircuit.bmp"), "BMP");
  return Image.convertToFormat(QImage::Format_RGB32);
}
