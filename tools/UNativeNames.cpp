#include "tools/UNativeNames.h"

#include <cstdint>
#include <cstring>

namespace {

/// Length of the valid UTF-8 sequence at P (with End - P bytes left), 0 when it is not one.
int ValidSequence(const uint8_t* P, const uint8_t* End, char32_t& Code) {
  const uint8_t Lead = P[0];
  int Length = 0;
  char32_t Min = 0;
  if (Lead < 0x80) {
    Code = Lead;
    return 1;
  }
  if ((Lead & 0xE0) == 0xC0)
    Length = 2, Code = Lead & 0x1F, Min = 0x80;
  else if ((Lead & 0xF0) == 0xE0)
    Length = 3, Code = Lead & 0x0F, Min = 0x800;
  else if ((Lead & 0xF8) == 0xF0)
    Length = 4, Code = Lead & 0x07, Min = 0x10000;
  else
    return 0;
  if (End - P < Length) return 0;
  for (int I = 1; I < Length; ++I) {
    if ((P[I] & 0xC0) != 0x80) return 0;
    Code = (Code << 6) | (P[I] & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode are not valid UTF-8.
  if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) return 0;
  return Length;
}

}  // namespace

QStringList ArgumentsAsGiven(int Argc, const char* const* Argv) {
  QStringList Arguments;
  for (int I = 0; I < Argc; ++I) {
    const auto* P = reinterpret_cast<const uint8_t*>(Argv[I]);
    const uint8_t* End = P + std::strlen(Argv[I]);
    QString Text;
    while (P < End) {
      char32_t Code = 0;
      const int Length = ValidSequence(P, End, Code);
      if (Length == 0) {
        Text.append(QChar(char16_t(0xDC00 + *P)));
        ++P;
        continue;
      }
      Text.append(QString::fromUcs4(&Code, 1));
      P += Length;
    }
    Arguments.append(Text);
  }
  return Arguments;
}

QByteArray NativeName(const QString& Name) {
  QByteArray Bytes;
  QString Run;  // ordinary text, encoded in one go
  const auto FlushRun = [&] {
    Bytes.append(Run.toUtf8());
    Run.clear();
  };
  for (qsizetype I = 0; I < Name.size(); ++I) {
    const char16_t C = Name[I].unicode();
    const bool Escaped =
        C >= 0xDC80 && C <= 0xDCFF && (I == 0 || !QChar::isHighSurrogate(Name[I - 1].unicode()));
    if (!Escaped) {
      Run.append(Name[I]);
      continue;
    }
    FlushRun();
    Bytes.append(char(C - 0xDC00));
  }
  FlushRun();
  return Bytes;
}
