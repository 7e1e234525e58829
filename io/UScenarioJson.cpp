// The scenario as JSON: written with every double in its shortest exact form and every 64-bit
// word as text (JSON numbers hold 53 bits); read field by field, each checked for kind and
// range, so that a refusal names the field and nothing half-read is ever used.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <utility>

#include "agents/UKart.h"
#include "io/UCircuitFile.h"
#include "io/UScenario.h"

namespace {

constexpr const char* FormatName = "kart-scenario";
/// Beyond this a real number in a scenario is taken as hostile.
constexpr double MaxMagnitude = 1e12;
constexpr int32_t MaxKarts = 100;

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

TParamRecord ReadParam(const TFields& F, const std::string& Expected) {
  TParamRecord P;
  P.Name = F.Text("name").toStdString();
  if (P.Name != Expected)
    F.Wrong("name", QStringLiteral("\"%1\" (the kart's parameters in their order)")
                        .arg(QString::fromStdString(Expected)));
  P.Value = F.Real("value");
  P.PrevValue = F.Real("prevValue");
  P.IntValue = static_cast<int32_t>(F.Whole("intValue", INT32_MIN, INT32_MAX));
  P.MinValue = F.Real("min");
  P.MaxValue = F.Real("max");
  P.Precision = F.Real("precision", 0, 1e6);
  P.KeepPrevious = F.Flag("keepPrevious");
  return P;
}

TScenarioKart ReadKart(const TFields& F, const TState& Declared) {
  TScenarioKart K;
  K.Color = static_cast<TColor>(F.Whole("color", 0, 0xFFFFFF));
  K.GridSize = static_cast<int32_t>(F.Whole("gridSize", 1, 1000));
  K.AutoGrid = F.Flag("autoGrid");
  K.UseRefined = F.Flag("useRefined");
  K.DebugLevel = static_cast<int32_t>(F.Whole("debugLevel", 0, 3));
  K.Score = F.Real("score");
  K.TeamAvgScore = F.Real("teamAvgScore");
  K.ScoreFactor = F.Real("scoreFactor", 0, 1e6);
  K.FutureCount = static_cast<int32_t>(F.Whole("futureCount", 0, 1000000000));
  const qsizetype Count = Declared.ParamCount();
  const QJsonArray Params = F.Array("params", Count, Count);
  for (qsizetype I = 0; I < Count; ++I)
    K.Params.push_back(ReadParam(TFields::At(Params, I, F.Name("params")),
                                 Declared.Params[static_cast<size_t>(I)]->Name));
  return K;
}

void ReadCircuit(const TFields& F, TScenario& S) {
  const QByteArray Base64 = F.Text("bmp").toLatin1();
  auto Decoded = QByteArray::fromBase64Encoding(Base64, QByteArray::AbortOnBase64DecodingErrors);
  if (!Decoded) F.Wrong("bmp", QStringLiteral("a BMP file in base64"));
  const TCircuitPicture Read = ReadCircuitPictureData(*Decoded, QStringLiteral("embedded"));
  if (!Read.Ok()) throw EField{F.Name("bmp") + QStringLiteral(": ") + Read.Error.chopped(1)};
  S.CircuitBmp = *Decoded;
  S.Circuit = Read.Picture;
}

TScenario ReadScenario(const TFields& Root) {
  TScenario S;
  if (Root.Text("format") != QLatin1String(FormatName))
    Root.Wrong("format", QStringLiteral("\"%1\"").arg(FormatName));
  const int64_t Version = Root.Whole("version", 1, INT32_MAX);
  if (Version > ScenarioVersion)
    throw EField{QStringLiteral("version %1 is newer than this program reads (up to %2)")
                     .arg(Version)
                     .arg(ScenarioVersion)};
  ReadCircuit(Root.Object_("circuit"), S);
  const TFields T = Root.Object_("track");
  S.Track.Friction = T.Real("friction", 0, 1);
  S.Track.SideFriction = T.Real("sideFriction", 0, 1);
  S.Track.Seconds = static_cast<int32_t>(T.Whole("seconds", 1, 60));
  S.Track.TeamScore = T.Flag("teamScore");
  S.Track.Collisions = T.Flag("collisions");
  S.Track.KeepTrails = T.Flag("keepTrails");
  const TFields Futures = Root.Object_("futures");
  S.FixedPasses = static_cast<int32_t>(Futures.Whole("fixedPasses", 0, 100000));
  S.BudgetMs = static_cast<int32_t>(Futures.Whole("budgetMs", 0, 10000));
  S.Seed = Word(Root, "seed", 10);
  S.MoveNumber = Root.Whole("move", 0, int64_t{1} << 40);
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
  const QJsonArray Karts = Root.Array("karts", 1, MaxKarts);
  const TKart Declared(0, 0, 0);
  for (qsizetype I = 0; I < Karts.size(); ++I)
    S.Karts.push_back(
        ReadKart(TFields::At(Karts, I, QStringLiteral("karts")), *Declared.RealState));
  S.ChosenKart = static_cast<int32_t>(Root.Whole("chosenKart", 0, Karts.size() - 1));
  return S;
}

}  // namespace

QByteArray ScenarioToJson(const TScenario& S) {
  QJsonArray Karts;
  for (const TScenarioKart& K : S.Karts) Karts.append(KartToJson(K));
  QJsonArray Random;
  for (uint64_t W : S.Random) Random.append(Hex(W));
  const QJsonObject Root{
      {"format", FormatName},
      {"version", ScenarioVersion},
      {"circuit", QJsonObject{{"bmp", QString::fromLatin1(S.CircuitBmp.toBase64())}}},
      {"track", QJsonObject{{"friction", S.Track.Friction},
                            {"sideFriction", S.Track.SideFriction},
                            {"seconds", S.Track.Seconds},
                            {"teamScore", S.Track.TeamScore},
                            {"collisions", S.Track.Collisions},
                            {"keepTrails", S.Track.KeepTrails}}},
      {"futures", QJsonObject{{"fixedPasses", S.FixedPasses}, {"budgetMs", S.BudgetMs}}},
      {"seed", QString::number(S.Seed)},
      {"move", static_cast<qint64>(S.MoveNumber)},
      {"random", Random},
      {"karts", Karts},
      {"chosenKart", S.ChosenKart}};
  return QJsonDocument(Root).toJson(QJsonDocument::Indented);
}

TScenarioRead ScenarioFromJson(const QByteArray& Json) {
  TScenarioRead Result;
  QJsonParseError Error{};
  const QJsonDocument Doc = QJsonDocument::fromJson(Json, &Error);
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
    Result.Scenario = ReadScenario(TFields(Doc.object(), QString()));
  } catch (const EField& E) {
    Result.Error = E.Message + '.';
  }
  return Result;
}
