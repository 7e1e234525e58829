#include "world/ULanePasses.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>

#include "agents/UKart.h"
#include "world/UTrack2D.h"

// One kernel per width, each in its own translation unit built for its instruction set.
#define KART_LANES(Name)                                                          \
  namespace KartLanes##Name {                                                     \
    void RunLanes(TLaneJob& Job, TLaneEnd* Ends, uint64_t* Streams, void* Bodies, \
                  uint8_t* PairRoom, TLaneTrace* Traces);                         \
  }
KART_LANES(Scalar)
KART_LANES(Sse2)
KART_LANES(Avx2)
KART_LANES(Avx512)
#undef KART_LANES

TLaneWorker::~TLaneWorker() = default;

bool TLaneWorker::CanRun(const TTrack& Track) {
  if (typeid(Track) != typeid(TTrack2D)) return false;
  const auto& T = static_cast<const TTrack2D&>(Track);
  // Indexes of the road must fit the kernels' 32 bits.
  if (static_cast<int64_t>(T.Width) * T.Height >= (int64_t{1} << 31)) return false;
  for (const TPlayer* P : Track.Players()) {
    // At debug level Collisions the window is let in during a pass: the plain passes keep it.
    if (typeid(*P) != typeid(TKart) || P->DebugLevel >= TDebugLevel::Collisions) return false;
    const auto& K = static_cast<const TKart&>(*P);
    const TState& S = *K.RealState;
    // The kernels decide the two pushes, in this order, and nothing else.
    if (S.FreeParamCount() != 2 || S.FreeParams[0] != S.Params[K.PushTurnIndex].get() ||
        S.FreeParams[1] != S.Params[K.PushPowerIndex].get())
      return false;
  }
  return true;
}

void TLaneWorker::Prepare(const TTrack2D& Track, const std::vector<TKart*>& AKarts,
                          int32_t SubSteps, int32_t TimeStepMs, TPassCanvas* ACanvas) {
  const int32_t N = static_cast<int32_t>(AKarts.size());
  Karts.resize(N);
  SlotIndex.resize(static_cast<size_t>(N) * lsCount);
  while (static_cast<int32_t>(Records.size()) < N) Records.push_back(std::make_unique<TState>());
  Records.resize(N);
  for (int32_t I = 0; I < N; ++I) {
    const TKart& K = *AKarts[I];
    const TState& S = *K.RealState;
    TLaneKart& L = Karts[I];
    for (int32_t Slot = 0; Slot < lsCount; ++Slot) {
      const int32_t Index = K.SlotParam(static_cast<TLaneSlot>(Slot));
      SlotIndex[static_cast<size_t>(I) * lsCount + Slot] = Index;
      L.Value[Slot] = S.Params[Index]->Value;
      L.Prev[Slot] = S.Params[Index]->PrevValue;
    }
    L.PushTurnInt = S.Params[K.PushTurnIndex]->IntValue;
    L.PushPowerInt = S.Params[K.PushPowerIndex]->IntValue;
    L.Limits = K.Limits();
    L.Trace = ACanvas && K.DebugLevel >= TDebugLevel::Traces;
    // As BeginFuture starts a future: the real state without its score.
    Records[I]->CopyFrom(S);
    Records[I]->ResetScore();
  }

  // The kernels read a whole word at the last pixel.
  Map.resize(Track.OffTrackMap.size() + 8);
  std::copy(Track.OffTrackMap.begin(), Track.OffTrackMap.end(), Map.begin());
  std::fill(Map.end() - 8, Map.end(), 0);

  const size_t Bytes = static_cast<size_t>(std::max(N, 1)) * (LaneBytesPerKart + LaneXYBytes);
  if (Bytes > ScratchBytes) {
    Scratch.reset(::operator new (Bytes, std::align_val_t{64}));
    ScratchBytes = Bytes;
  }
  Ends.resize(N);
  Streams.resize(static_cast<size_t>(N) * 4);
  Bodies.resize(static_cast<size_t>(N) * LaneBodyBytes / sizeof(double));
  PairRoom.assign(static_cast<size_t>(LanePairBytes(N)) / 8 + 1, 0);

  Job = {};
  Job.KartCount = N;
  Job.Karts = Karts.data();
  Job.Road = Track.View();
  Job.Road.OffMap = Map.data();
  Job.Collisions = Track.Collisions;
  Job.SubSteps = SubSteps;
  Job.TimeStepMs = TimeStepMs;
  Job.Outline.Set(TKart::OutlineFactors, KartStep::Corners);
  Job.Scratch = Scratch.get();
  Canvas = ACanvas;
  Job.AnyTrace = false;
  for (const TLaneKart& L : Karts) Job.AnyTrace = Job.AnyTrace || L.Trace;
  Job.TraceRoom = Job.AnyTrace ? LaneTraceCount(N, SubSteps) : 0;
  Traces.resize(static_cast<size_t>(Job.TraceRoom) * 8);
  Job.Claim = &TLaneWorker::Claim;
  Job.Finish = &TLaneWorker::Finish;
  Job.Context = this;
}

void TLaneWorker::Run(TSimd Width, const std::function<bool(int32_t&)>& AClaimPass, uint64_t ASeed,
                      int64_t AMove, std::vector<std::unique_ptr<TFutureStore>>& AStores,
                      std::vector<TPassDone>& ADone) {
  ClaimPass = &AClaimPass;
  Stores = &AStores;
  Done = &ADone;
  Seed = ASeed;
  Move = AMove;
  Claimed.clear();
  FreeSlots.clear();
  Waiting.clear();
  WaitingTraces.clear();
  WaitingTraceCount.clear();
  Tallies.resize(Job.KartCount);
  for (auto& Kart : Tallies) Kart.clear();
  auto Kernel = &KartLanesScalar::RunLanes;
  switch (ResolveSimd(Width)) {
    case TSimd::Avx512:
      Kernel = &KartLanesAvx512::RunLanes;
      break;
    case TSimd::Avx2:
      Kernel = &KartLanesAvx2::RunLanes;
      break;
    case TSimd::Sse2:
      Kernel = &KartLanesSse2::RunLanes;
      break;
    default:
      break;
  }
  Job.SubStepsRun = 0;
  Kernel(Job, Ends.data(), Streams.data(), Bodies.data(),
         reinterpret_cast<uint8_t*>(PairRoom.data()), Traces.data());
}

bool TLaneWorker::Claim(void* Context, int32_t* Pass, uint64_t* Streams) {
  auto& Self = *static_cast<TLaneWorker*>(Context);
  if (!(*Self.ClaimPass)(*Pass)) return false;
  for (int32_t I = 0; I < Self.Job.KartCount; ++I) {
    TRandomStream R;
    R.Seed(FutureSeed(Self.Seed, Self.Move, I, *Pass));
    std::memcpy(Streams + static_cast<size_t>(I) * 4, R.S, sizeof R.S);
  }
  Self.Claimed.push_back({*Pass, -1});
  return true;
}

// Passes end out of order (a lane refills as soon as its pass ends); they wait here until every
// earlier pass of this worker is stored, so that the earliest future of a class comes first.
void TLaneWorker::Finish(void* Context, int32_t Pass, const TLaneEnd* PassEnds,
                         const TLaneTrace* PassTraces, int32_t TraceCount) {
  auto& Self = *static_cast<TLaneWorker*>(Context);
  const size_t N = static_cast<size_t>(Self.Job.KartCount);
  const size_t Room = static_cast<size_t>(Self.Job.TraceRoom);
  if (!Self.Claimed.empty() && Self.Claimed.front().Pass == Pass) {
    Self.Claimed.pop_front();
    Self.Store(Pass, PassEnds, PassTraces, TraceCount);
  } else {
    int32_t Slot;
    if (!Self.FreeSlots.empty()) {
      Slot = Self.FreeSlots.back();
      Self.FreeSlots.pop_back();
    } else {
      Slot = static_cast<int32_t>(Self.WaitingTraceCount.size());
      Self.Waiting.resize(Self.Waiting.size() + N);
      Self.WaitingTraces.resize(Self.WaitingTraces.size() + Room);
      Self.WaitingTraceCount.push_back(0);
    }
    std::copy(PassEnds, PassEnds + N, Self.Waiting.begin() + static_cast<ptrdiff_t>(Slot * N));
    std::copy(PassTraces, PassTraces + TraceCount,
              Self.WaitingTraces.begin() + static_cast<ptrdiff_t>(Slot * Room));
    Self.WaitingTraceCount[Slot] = TraceCount;
    for (TClaimed& C : Self.Claimed)
      if (C.Pass == Pass) C.Slot = Slot;
  }
  while (!Self.Claimed.empty() && Self.Claimed.front().Slot >= 0) {
    const TClaimed C = Self.Claimed.front();
    Self.Claimed.pop_front();
    Self.Store(C.Pass, Self.Waiting.data() + static_cast<size_t>(C.Slot) * N,
               Self.WaitingTraces.data() + static_cast<size_t>(C.Slot) * Room,
               Self.WaitingTraceCount[C.Slot]);
    Self.FreeSlots.push_back(C.Slot);
  }
}

void TLaneWorker::Store(int32_t Pass, const TLaneEnd* PassEnds, const TLaneTrace* PassTraces,
                        int32_t TraceCount) {
  for (int32_t I = 0; I < Job.KartCount; ++I) {
    const TLaneEnd& E = PassEnds[I];
    TState& S = *Records[I];
    const int32_t* Index = SlotIndex.data() + static_cast<size_t>(I) * lsCount;
    for (int32_t Slot = 0; Slot < lsCount; ++Slot) {
      TStateParam& P = *S.Params[Index[Slot]];
      P.Value = E.Value[Slot];
      P.PrevValue = E.Prev[Slot];
      P.GridIndexValid = false;
    }
    S.Params[Index[lsPushTurn]]->IntValue = RoundEven(E.PushTurnInt);
    S.Params[Index[lsPushPower]]->IntValue = RoundEven(E.PushPowerInt);
    S.Score = E.Score;
    S.ScoreFactor = E.ScoreFactor;
    if (!ClassesOnly) {
      (*Stores)[I]->Add(S);
      continue;
    }
    bool New;
    const int32_t Class = (*Stores)[I]->FindOrAddClass(S, New);
    std::vector<TTally>& Kart = Tallies[I];
    if (New) {
      if (static_cast<int32_t>(Kart.size()) <= Class) Kart.resize(Class + 1);
      Kart[Class] = {Pass, 1, {}};
      continue;
    }
    ++Kart[Class].Count;
    Kart[Class].Repeats.Add(S.Score);
  }
  if (ClassesOnly) return;
  const auto OpsBegin = static_cast<uint32_t>(Canvas ? Canvas->Ops.size() : 0);
  for (int32_t T = 0; T < TraceCount; ++T) {
    const TLaneTrace& Piece = PassTraces[T];
    Canvas->SetPenColor(Piece.Color);
    Canvas->Line(Piece.X1, Piece.Y1, Piece.X2, Piece.Y2);
  }
  Done->push_back({Pass, OpsBegin, static_cast<uint32_t>(Canvas ? Canvas->Ops.size() : 0)});
}
