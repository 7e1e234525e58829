#include "decision/UState.h"

#include <cmath>

#include "decision/URandomDecision.h"

namespace {

std::string TrimUpper(const std::string& S) {
  size_t First = 0;
  size_t Last = S.size();
  while (First < Last && static_cast<unsigned char>(S[First]) <= 32) ++First;
  while (Last > First && static_cast<unsigned char>(S[Last - 1]) <= 32) --Last;
  std::string Result = S.substr(First, Last - First);
  for (char& C : Result)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
  return Result;
}

}  // namespace

// ---- TStateParam ----

TStateParam::TStateParam() : TStateParam("", pkPlain, 0, 0, 0, 0) {}

TStateParam::TStateParam(const std::string& AName, TParamKind AKind, double AValue,
                         double AMaxValue, double AMinValue, double APrecision) {
  SetName(AName);
  Kind = AKind;
  MaxValue = AMaxValue;
  MinValue = AMinValue;
  SetValue(AValue);
  PrevValue = AValue;  // the argument itself, before clamping
  Quantize();
  Precision = APrecision;
  KeepPrevious = false;
  GridIndexCache = 0;
  GridIndexValid = false;
}

TStateParam::TStateParam(const TParamDecl& Decl)
    : TStateParam(Decl.Name, Decl.Kind, Decl.Value, Decl.Bounded ? Decl.Max : 0,
                  Decl.Bounded ? Decl.Min : 0, Decl.Precision) {
  if (Decl.Bounded && !(Decl.Min < Decl.Max))
    throw EModelError("TStateParam: \"" + Name + "\" needs a lower bound below its upper bound.");
}

void TStateParam::SetName(const std::string& AName) { Name = TrimUpper(AName); }

void TStateParam::Assign(const TStateParam& Source) {
  if (Name != Source.Name) Name = Source.Name;  // names rarely differ: skip the copy
  Kind = Source.Kind;
  MaxValue = Source.MaxValue;
  MinValue = Source.MinValue;
  Precision = Source.Precision;
  Value = Source.Value;
  PrevValue = Source.PrevValue;
  IntValue = Source.IntValue;
  // The cache is not copied, and it no longer describes the new Value: records are reused.
  GridIndexValid = false;
}

void TStateParam::Randomize(bool Extremes, TRandomStream& Random) {
  using LaneMath::TPlain;
  const double U = Random.Next();
  if (!Extremes) {
    SetValue(LaneMath::RandomValue<TPlain>(U, Precision));
    return;
  }
  SetValue(LaneMath::ExtremeValue<TPlain>(U, MinValue, MaxValue, Precision));
  Quantize();
}

namespace {

/// The free parameters of a state as the one random decision writes them.
struct TFreeParams {
  std::vector<TStateParam*>& Params;
  int32_t Count() const { return static_cast<int32_t>(Params.size()); }
  double Min(int32_t I) const { return Params[I]->MinValue; }
  double Max(int32_t I) const { return Params[I]->MaxValue; }
  double Range(int32_t I) const { return Params[I]->Precision; }
  void Set(int32_t I, int64_t Lanes, double X) {
    if (Lanes) Params[I]->SetValue(X);
  }
  void Quantize(int32_t I, int64_t Lanes) {
    if (Lanes) Params[I]->Quantize();
  }
};

}  // namespace

void TState::Randomize(bool Extremes, TRandomStream& Random) {
  TFreeParams Free{FreeParams};
  LaneMath::RandomDecision<LaneMath::TPlain>(Free, Random.S, Extremes ? -1 : 0, -1);
}

void TStateParam::ConvertToMacro() {
  if (Precision == 0)
    throw EModelError("Precision zero param \"" + Name + "\" can not be converted to macro.");
  const int32_t K = GridIndex();
  SetValue(K * Precision);
}

// ---- TState ----

TState::TState() { ResetScore(); }

TState::~TState() = default;

void TState::AddParam(std::unique_ptr<TStateParam> Param) {
  TStateParam* P = Param.get();
  Params.push_back(std::move(Param));
  if (P->IsFree()) FreeParams.push_back(P);
  if (P->IsMacro()) MacroParams.push_back(P);
}

int32_t TState::AddParam(const TParamDecl& Decl) {
  AddParam(std::make_unique<TStateParam>(Decl));
  return IndexOfName(Decl.Name);
}

int32_t TState::IndexOfName(const std::string& Name) const {
  const std::string Key = TrimUpper(Name);
  for (int32_t I = 0; I < ParamCount(); ++I)
    if (Params[I]->Name == Key) return I;
  throw EModelError("TState: Param with name \"" + Key + "\" not found.");
}

void TState::CopyFrom(const TState& Source) {
  const int32_t N = Source.ParamCount();
  if (ParamCount() > N) Params.resize(N);
  while (ParamCount() < N) Params.push_back(std::make_unique<TStateParam>());
  FreeParams.clear();
  MacroParams.clear();
  for (int32_t I = 0; I < N; ++I) {
    TStateParam& P = *Params[I];
    P.Assign(*Source.Params[I]);
    if (P.IsFree()) FreeParams.push_back(&P);
    if (P.IsMacro()) MacroParams.push_back(&P);
  }
  Score = Source.Score;
  TeamAvgScore = Source.TeamAvgScore;
  ScoreFactor = Source.ScoreFactor;
  FutureCount = Source.FutureCount;
}

void TState::SetKeepPrevious(bool Value) {
  KeepPrevious = Value;
  for (auto& P : Params) P->KeepPrevious = Value;
}

void TState::RestoreStart() {
  for (auto& P : Params) P->SetValue(P->RoundedValue());
}

void TState::StoreStart() {
  for (auto& P : Params) {
    P->Quantize();
    P->PrevValue = P->Value;
  }
}

void TState::ConvertToMacro() {
  for (TStateParam* P : MacroParams) P->ConvertToMacro();
}

std::string TState::DecisionText() const {
  std::string Text;
  for (const TStateParam* P : FreeParams) {
    if (!Text.empty()) Text += ", ";
    Text += std::to_string(RoundEven(P->RoundedValue()));
  }
  return "(" + Text + ") #" + std::to_string(FutureCount);
}

bool TState::HaveSameInitialDecision(const TState& Other) const {
  if (FreeParamCount() != Other.FreeParamCount())
    throw EModelError("HaveSameInitialDecision(): States have a different free param count!");
  for (size_t I = 0; I < FreeParams.size(); ++I)
    if (FreeParams[I]->IntValue != Other.FreeParams[I]->IntValue) return false;
  return true;
}

bool TState::HaveSameFinalMacro(const TState& Other) const {
  if (ParamCount() != Other.ParamCount())
    throw EModelError("HaveSameFinalMacro(): States have a different param count!");
  for (int32_t I = 0; I < MacroParamCount(); ++I)
    if (MacroParams[I]->GridIndex() != Other.MacroParam(I).GridIndex()) return false;
  return true;
}

void TState::RaiseIndex(const char* List, int32_t Index) {
  throw EModelError(std::string("TState: ") + List + " index " + std::to_string(Index) +
                    " out of boundaries.");
}
