// The scenario as JSON: written with every double in its shortest exact form and every 64-bit
// word as text (JSON numbers hold 53 bits); read field by field, each checked for kind and
// range, so that a refusal names the field and nothing half-read is ever used.

#include <QCborMap>
#include <QCborValue>
#include <QIODevice>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <utility>

#include "agents/UKart.h"
#include "io/UCircuitFile.h"
#include "io/UScenario.h"
#include "world/URaceSetup.h"

namespace {

constexpr const char* FormatName = "kart-scenario";
/// Beyond this a real number in a scenario is taken as hostile.
constexpr double MaxMagnitude = 1e12;
/// The end-point grid step a kart's positions may have (AdaptGrid asks for steps beyond the
/// grid size's own limits).
constexpr double MaxGridStep = 1e9;

QString Hex(uint64_t Word) { return QStringLiteral("%1").arg(Word, 16, 16, QLatin1Char('0')); }

QJsonObject ParamToJson(const TParamRecord& P) {
  return {{"name", QString::fromStdString(P.Name)},
          {"value", P.Value},
          {"prevValue", P.PrevValue},
          {"intValue", P.IntValue},
          {"min", P.MinValue},
          {"max", P.MaxValue},
          {"precision", P.Precision},
          {"keepPrevious", P.KeepPrevious}};
}

QJsonObject KartToJson(const TScenarioKart& K) {
  QJsonArray Params;
  for (const TParamRecord& P : K.Params) Params.append(ParamToJson(P));
  return {{"color", static_cast<qint64>(K.Color)},
          {"gridSize", K.GridSize},
          {"autoGrid", K.AutoGrid},
          {"useRefined", K.UseRefined},
          {"debugLevel", K.DebugLevel},
          {"score", K.Score},
          {"teamAvgScore", K.TeamAvgScore},
          {"scoreFactor", K.ScoreFactor},
          {"futureCount", K.FutureCount},
          {"params", Params}};
}

/// A refusal: the field's path and what is wrong with it.
struct EField {
  QString Message;
};

/// One JSON object being read, with the path that names its fields in messages.
class TFields {
 public:
  TFields(QJsonObject AObject, QString APath)
      : Object(std::move(AObject)), Path(std::move(APath)) {}

  QString Name(const char* Key) const {
    return Path.isEmpty() ? QString::fromLatin1(Key) : Path + '.' + QLatin1String(Key);
  }
  const QJsonObject& Json() const { return Object; }
  QJsonValue Get(const char* Key) const {
    const QJsonValue V = Object.value(QLatin1String(Key));
    if (V.isUndefined()) throw EField{Name(Key) + QStringLiteral(" is missing")};
    return V;
  }
  [[noreturn]] void Wrong(const char* Key, const QString& What) const {
    throw EField{Name(Key) + QStringLiteral(" must be ") + What};
  }
  double Real(const char* Key, double Min = -MaxMagnitude, double Max = MaxMagnitude) const {
    const QJsonValue V = Get(Key);
    const double D = V.toDouble();
    if (!V.isDouble() || !std::isfinite(D) || D < Min || D > Max)
      Wrong(Key, QStringLiteral("a number from %1 to %2").arg(Min).arg(Max));
    return D;
  }
  int64_t Whole(const char* Key, int64_t Min, int64_t Max) const {
    const QJsonValue V = Get(Key);
    const double D = V.toDouble();
    if (!V.isDouble() || D != std::floor(D) || D < static_cast<double>(Min) ||
        D > static_cast<double>(Max))
      Wrong(Key, QStringLiteral("a whole number from %1 to %2").arg(Min).arg(Max));
    return static_cast<int64_t>(D);
  }
  /// A flag that files written before it was kept lack: Absent there.
  bool FlagOr(const char* Key, bool Absent) const {
    return Object.contains(QLatin1String(Key)) ? Flag(Key) : Absent;
  }
  bool Flag(const char* Key) const {
    const QJsonValue V = Get(Key);
    if (!V.isBool()) Wrong(Key, QStringLiteral("true or false"));
    return V.toBool();
  }
  QString Text(const char* Key) const {
    const QJsonValue V = Get(Key);
    if (!V.isString()) Wrong(Key, QStringLiteral("a string"));
    return V.toString();
  }
  QJsonArray Array(const char* Key, qsizetype MinCount, qsizetype MaxCount) const {
    const QJsonValue V = Get(Key);
    if (!V.isArray() || V.toArray().size() < MinCount || V.toArray().size() > MaxCount)
      Wrong(Key, MinCount == MaxCount
                     ? QStringLiteral("a list of %1 entries").arg(MinCount)
                     : QStringLiteral("a list of %1 to %2 entries").arg(MinCount).arg(MaxCount));
    return V.toArray();
  }
  TFields Object_(const char* Key) const {
    const QJsonValue V = Get(Key);
    if (!V.isObject()) Wrong(Key, QStringLiteral("an object"));
    return {V.toObject(), Name(Key)};
  }
  static TFields At(const QJsonArray& List, qsizetype I, const QString& ListName) {
    const QString Item = QStringLiteral("%1[%2]").arg(ListName).arg(I);
    if (!List[I].isObject()) throw EField{Item + QStringLiteral(" must be an object")};
    return {List[I].toObject(), Item};
  }

 private:
  QJsonObject Object;
  QString Path;
};

uint64_t Word(const TFields& F, const char* Key, int Base) {
  bool Ok = false;
  const QString Text = F.Text(Key);
  const uint64_t W = Text.toULongLong(&Ok, Base);
  if (!Ok || Text.startsWith('-') || Text.startsWith('+'))
    F.Wrong(Key, Base == 16 ? QStringLiteral("a hexadecimal 64-bit word")
                            : QStringLiteral("a whole number from 0 to 18446744073709551615"));
  return W;
}

/// What one of the kart's parameters may hold: its value (and its previous value, which is also
/// 0 before the first change) within [Min, Max], and its bounds and grid step as the kart declares
/// them, except where a setting moves one of them.
struct TParamRule {
  double Min = -MaxMagnitude, Max = MaxMagnitude;
  bool Flag = false;    ///< 0 or 1
  bool SetMax = false;  ///< the upper bound is a setting, within MaxRange
  TSettingRange MaxRange = {0, 0};
  bool GridStep = false;  ///< the precision is the end-point grid's step
};

TParamRule RuleFor(const TStateParam& Declared, const TReachableState& Reach) {
  const std::string& Name = Declared.Name;
  TParamRule R;
  // A bounded parameter keeps to its bounds; steering and power reach as far as the settings go.
  if (Declared.MaxValue > Declared.MinValue) R.Min = Declared.MinValue, R.Max = Declared.MaxValue;
  if (Name == "TURN")
    R.SetMax = true, R.MaxRange = {TurnDegreesToRadians(MaxTurnDegRange.Min),
                                   TurnDegreesToRadians(MaxTurnDegRange.Max)};
  if (Name == "POWER") R.SetMax = true, R.MaxRange = MaxPowerRange;
  if (R.SetMax) R.Max = R.MaxRange.Max;
  if (Name == "SIZE") R.Min = SizeRange.Min, R.Max = SizeRange.Max;
  if (Name == "DEAD" || Name == "USEBATTERY" || Name == "CANRUNOUT") R.Flag = true;
  if (Name == "POSX" || Name == "POSY")
    R.Min = -Reach.Position, R.Max = Reach.Position, R.GridStep = true;
  if (Name == "ANGLE") R.Min = -Reach.Angle, R.Max = Reach.Angle;
  if (Name == "VELX" || Name == "VELY") R.Min = -Reach.Speed, R.Max = Reach.Speed;
  return R;
}

/// A number that must be exactly the kart's own.
double Own(const TFields& F, const char* Key, double Declared) {
  const double D = F.Real(Key);
  if (D != Declared) F.Wrong(Key, QStringLiteral("%1, the kart's own").arg(Declared, 0, 'g', 17));
  return D;
}

TParamRecord ReadParam(const TFields& F, const TStateParam& Declared,
                       const TReachableState& Reach) {
  TParamRecord P;
  P.Name = F.Text("name").toStdString();
  if (P.Name != Declared.Name)
    F.Wrong("name", QStringLiteral("\"%1\" (the kart's parameters in their order)")
                        .arg(QString::fromStdString(Declared.Name)));
  const TParamRule Rule = RuleFor(Declared, Reach);
  P.Value = F.Real("value", Rule.Min, Rule.Max);
  P.PrevValue = F.Real("prevValue", std::min(Rule.Min, 0.0), std::max(Rule.Max, 0.0));
  if (Rule.Flag) {
    for (const auto& [Key, Value] : {std::pair{"value", P.Value}, {"prevValue", P.PrevValue}})
      if (Value != 0 && Value != 1) F.Wrong(Key, QStringLiteral("0 or 1"));
  } else if (P.PrevValue != 0 && (P.PrevValue < Rule.Min || P.PrevValue > Rule.Max)) {
    F.Wrong("prevValue", QStringLiteral("0 or a number from %1 to %2").arg(Rule.Min).arg(Rule.Max));
  }
  P.IntValue = static_cast<int32_t>(F.Whole("intValue", INT32_MIN, INT32_MAX));
  P.MinValue = Own(F, "min", Declared.MinValue);
  P.MaxValue = Rule.SetMax ? F.Real("max", Rule.MaxRange.Min, Rule.MaxRange.Max)
                           : Own(F, "max", Declared.MaxValue);
  P.Precision =
      Rule.GridStep ? F.Real("precision", 1, MaxGridStep) : Own(F, "precision", Declared.Precision);
  P.KeepPrevious = F.Flag("keepPrevious");
  return P;
}

TScenarioKart ReadKart(const TFields& F, const TKart& Declared, const TReachableState& Reach) {
  TScenarioKart K;
  K.Color = static_cast<TColor>(F.Whole("color", 0, 0xFFFFFF));
  K.GridSize =
      static_cast<int32_t>(F.Whole("gridSize", Declared.MinGridSize, Declared.MaxGridSize));
  K.AutoGrid = F.Flag("autoGrid");
  K.UseRefined = F.Flag("useRefined");
  K.DebugLevel = static_cast<int32_t>(F.Whole("debugLevel", 0, 3));
  // A real state is never a crashed future's, so its factor stays 1.
  K.Score = F.Real("score", -Reach.Score, Reach.Score);
  K.TeamAvgScore = F.Real("teamAvgScore", -Reach.Score, Reach.Score);
  K.ScoreFactor = F.Real("scoreFactor", 0, 1);
  K.FutureCount = static_cast<int32_t>(F.Whole("futureCount", 0, 1000000000));
  const TState& State = *Declared.RealState;
  const qsizetype Count = State.ParamCount();
  const QJsonArray Params = F.Array("params", Count, Count);
  for (qsizetype I = 0; I < Count; ++I)
    K.Params.push_back(ReadParam(TFields::At(Params, I, F.Name("params")),
                                 *State.Params[static_cast<size_t>(I)], Reach));
  return K;
}

/// The text of the string Key as its bytes. A circuit's base64 is the largest thing in a file:
/// taken through its CBOR form (one byte a character, as the parsed document holds it) rather
/// than as UTF-16 text, which would take twice the memory. The value is reached through the
/// object's map, which shares the document's storage (a string value converted on its own is
/// copied as text).
QByteArray Latin1Text(const TFields& F, const char* Key) {
  const QJsonValue V = F.Get(Key);
  if (!V.isString()) F.Wrong(Key, QStringLiteral("a string"));
  QByteArray Cbor = QCborMap::fromJsonObject(F.Json()).value(QLatin1String(Key)).toCbor();
  // A definite-length text string: a head of 1, 2, 3, 5 or 9 bytes, then the UTF-8 bytes.
  const uchar Head = Cbor.isEmpty() ? 0 : uchar(Cbor[0]);
  const int Extra = (Head & 0x1F) < 24    ? 0
                    : (Head & 0x1F) == 24 ? 1
                    : (Head & 0x1F) == 25 ? 2
                    : (Head & 0x1F) == 26 ? 4
                    : (Head & 0x1F) == 27 ? 8
                                          : -1;
  if ((Head >> 5) != 3 || Extra < 0 || Cbor.size() < 1 + Extra) return V.toString().toLatin1();
  Cbor.remove(0, 1 + Extra);
  return Cbor;
}

/// Decodes the circuit's base64 (FieldName names it in messages) into S.Circuit.
void DecodeCircuit(QByteArray&& Base64, const QString& FieldName, TScenario& S) {
  // Decoded in place: the picture's bytes take the base64's room.
  auto Decoded =
      QByteArray::fromBase64Encoding(std::move(Base64), QByteArray::AbortOnBase64DecodingErrors);
  if (!Decoded) throw EField{FieldName + QStringLiteral(" must be a BMP file in base64")};
  const TCircuitPicture Read = ReadCircuitPictureData(*Decoded, QStringLiteral("embedded"));
  if (!Read.Ok()) throw EField{FieldName + QStringLiteral(": ") + Read.Error.chopped(1)};
  S.Circuit = Read.Picture;
}

/// Every field but the circuit's picture, which is handed back as base64 in Circuit.
TScenario ReadFields(const TFields& Root, QByteArray& Circuit) {
  TScenario S;
  if (Root.Text("format") != QLatin1String(FormatName))
    Root.Wrong("format", QStringLiteral("\"%1\"").arg(FormatName));
  const int64_t Version = Root.Whole("version", 1, INT32_MAX);
  if (Version > ScenarioVersion)
    throw EField{QStringLiteral("version %1 is newer than this program reads (up to %2)")
                     .arg(Version)
                     .arg(ScenarioVersion)};
  Circuit = Latin1Text(Root.Object_("circuit"), "bmp");
  const TFields T = Root.Object_("track");
  // Held to the ranges of the window's controls and kartrun's options.
  S.Track.Friction = T.Real("friction", FrictionRange.Min, FrictionRange.Max);
  S.Track.SideFriction = T.Real("sideFriction", SideFrictionRange.Min, SideFrictionRange.Max);
  S.Track.Seconds = static_cast<int32_t>(T.Whole("seconds", SecondsRange.Min, SecondsRange.Max));
  S.Track.TeamScore = T.Flag("teamScore");
  S.Track.Collisions = T.Flag("collisions");
  S.Track.KeepTrails = T.Flag("keepTrails");
  S.Track.RaceDirection = T.FlagOr("raceDirection", false);
  const TFields Futures = Root.Object_("futures");
  S.FixedPasses = static_cast<int32_t>(Futures.Whole("fixedPasses", 0, FixedFuturesRange.Max));
  S.BudgetMs = static_cast<int32_t>(Futures.Whole("budgetMs", BudgetRange.Min, BudgetRange.Max));
  S.Seed = Word(Root, "seed", 10);
  S.MoveNumber = Root.Whole("move", 0, MaxMoveNumber);
  const QJsonArray Words = Root.Array("random", 4, 4);
  bool AnySet = false;
  for (qsizetype I = 0; I < 4; ++I) {
    const QString Item = QStringLiteral("random[%1]").arg(I);
    bool Ok = Words[I].isString();
    S.Random[I] = Words[I].toString().toULongLong(&Ok, 16);
    if (!Words[I].isString() || !Ok || Words[I].toString().size() != 16)
      throw EField{Item + QStringLiteral(" must be a 64-bit word in 16 hexadecimal digits")};
    AnySet = AnySet || S.Random[I] != 0;
  }
  // An all-zero state would draw 0 for ever.
  if (!AnySet) throw EField{QStringLiteral("random must not be all zero")};
  const QJsonArray Karts = Root.Array("karts", 1, static_cast<qsizetype>(KartsRange.Max));
  const TKart Declared(0, 0, 0);
  const TReachableState Reach = ReachableState();
  for (qsizetype I = 0; I < Karts.size(); ++I)
    S.Karts.push_back(ReadKart(TFields::At(Karts, I, QStringLiteral("karts")), Declared, Reach));
  S.ChosenKart = static_cast<int32_t>(Root.Whole("chosenKart", 0, Karts.size() - 1));
  return S;
}

/// The document is let go before the picture is decoded, so that the two are never held at once.
TScenario ReadScenario(QJsonObject&& Root) {
  QByteArray Circuit;
  TScenario S = ReadFields(TFields(std::move(Root), QString()), Circuit);
  DecodeCircuit(std::move(Circuit), QStringLiteral("circuit.bmp"), S);
  return S;
}

/// A device that hands everything written to it on as base64, three bytes at a time.
class TBase64Device : public QIODevice {
 public:
  explicit TBase64Device(const TScenarioSink& ASink) : Sink(ASink) { open(WriteOnly); }
  /// The last bytes, padded; false when any write to the sink failed.
  bool Finish() {
    if (!Pending.isEmpty()) Pass(Pending.toBase64());
    Pending.clear();
    return Ok;
  }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* Data, qint64 Size) override {
    Pending.append(Data, Size);
    const qsizetype Whole = Pending.size() / 3 * 3;
    if (Whole >= 3 * 4096) {
      Pass(QByteArray::fromRawData(Pending.constData(), Whole).toBase64());
      Pending.remove(0, Whole);
    }
    return Ok ? Size : -1;
  }

 private:
  void Pass(const QByteArray& Text) { Ok = Ok && Sink(Text.constData(), size_t(Text.size())); }
  const TScenarioSink& Sink;
  QByteArray Pending;
  bool Ok = true;
};

}  // namespace

bool WriteScenarioJson(const TScenario& S, const TScenarioSink& Write) {
  QJsonArray Karts;
  for (const TScenarioKart& K : S.Karts) Karts.append(KartToJson(K));
  QJsonArray Random;
  for (uint64_t W : S.Random) Random.append(Hex(W));
  // Everything but the picture as a document, the picture streamed into its place: the circuit
  // is never held as text.
  const QJsonObject Root{
      {"format", FormatName},
      {"version", ScenarioVersion},
      {"circuit", QJsonObject{{"bmp", QString()}}},
      {"track", QJsonObject{{"friction", S.Track.Friction},
                            {"sideFriction", S.Track.SideFriction},
                            {"seconds", S.Track.Seconds},
                            {"teamScore", S.Track.TeamScore},
                            {"collisions", S.Track.Collisions},
                            {"keepTrails", S.Track.KeepTrails},
                            {"raceDirection", S.Track.RaceDirection}}},
      {"futures", QJsonObject{{"fixedPasses", S.FixedPasses}, {"budgetMs", S.BudgetMs}}},
      {"seed", QString::number(S.Seed)},
      {"move", static_cast<qint64>(S.MoveNumber)},
      {"random", Random},
      {"karts", Karts},
      {"chosenKart", S.ChosenKart}};
  const QByteArray Text = QJsonDocument(Root).toJson(QJsonDocument::Indented);
  // Only the key itself has these bytes unescaped.
  const QByteArray Slot = "\"bmp\": \"\"";
  const qsizetype At = Text.indexOf(Slot) + Slot.size() - 1;
  if (!Write(Text.constData(), size_t(At))) return false;
  TBase64Device Picture(Write);
  // 24 bits a pixel from the RGB32 picture, row by row.
  QImageWriter Writer(&Picture, "bmp");
  if (!Writer.write(S.Circuit.format() == QImage::Format_RGB32
                        ? S.Circuit
                        : S.Circuit.convertToFormat(QImage::Format_RGB32)) ||
      !Picture.Finish())
    return false;
  return Write(Text.constData() + At, size_t(Text.size() - At));
}

QByteArray ScenarioToJson(const TScenario& S) {
  QByteArray Json;
  WriteScenarioJson(S, [&Json](const char* Data, size_t Size) {
    Json.append(Data, qsizetype(Size));
    return true;
  });
  return Json;
}

TScenarioRead ScenarioFromJson(QByteArray Json) {
  TScenarioRead Result;
  QJsonParseError Error{};
  QJsonDocument Doc = QJsonDocument::fromJson(Json, &Error);
  Json = QByteArray();  // the text goes once it has been read (when nobody else holds it)
  if (Doc.isNull()) {
    Result.Error = QStringLiteral("it is not JSON (%1 at byte %2).")
                       .arg(Error.errorString())
                       .arg(Error.offset);
    return Result;
  }
  if (!Doc.isObject()) {
    Result.Error = QStringLiteral("the top level must be an object.");
    return Result;
  }
  try {
    QJsonObject Root = Doc.object();
    Doc = QJsonDocument();
    Result.Scenario = ReadScenario(std::move(Root));
  } catch (const EField& E) {
    Result.Error = E.Message + '.';
  }
  return Result;
}
