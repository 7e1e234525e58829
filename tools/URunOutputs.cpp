#include "tools/URunOutputs.h"

#include <sys/stat.h>

#include <QFile>
#include <functional>
#include <string>

#include "io/UFileKind.h"
#include "io/UFrameFile.h"
#include "io/UScenario.h"
#include "tools/UNativeNames.h"
#include "tools/UOutputChecks.h"
#include "tools/URunReport.h"
#include "world/URaceLog.h"

namespace {

using TRole = TRunFile::TRole;

QString Reason(const std::string& Error) { return QString::fromLocal8Bit(Error.c_str()); }

/// "--csv 'x'", or "--csv -".
QString Named(const char* Option, const QString& Name) {
  return Name == QLatin1String("-") ? QStringLiteral("--%1 -").arg(QString::fromLatin1(Option))
                                    : QStringLiteral("--%1 '%2'").arg(Option, Name);
}

/// An output written as one file, or streamed: its folder must exist and the name lead to
/// something it may be written to.
void CheckFile(const QString& Name, const char* Option) {
  if (Name.isEmpty() || Name == QLatin1String("-")) return;
  const QByteArray Native = NativeName(Name);
  if (const QString Problem = FolderProblem(Native); !Problem.isEmpty())
    Fail(QStringLiteral("cannot write %1: %2.").arg(Named(Option, Name), Problem), 1);
  struct stat Info {};
  if (stat(Native.constData(), &Info) == 0 && !S_ISREG(Info.st_mode) && !S_ISFIFO(Info.st_mode) &&
      !S_ISCHR(Info.st_mode))
    Fail(QStringLiteral("cannot write %1: it is %2; give a file, a FIFO, a character device or - "
                        "for standard output.")
             .arg(Named(Option, Name), QString::fromStdString(FileKindName(Info.st_mode))),
         1);
}

}  // namespace

void TRunOutputs::Check(TRunSettings& S) {
  // A file that standard output already writes to is written through it, not replaced.
  for (QString* Name : {&S.Csv, &S.Laps, &S.SaveScenario})
    if (IsStandardOutputFile(NativeName(*Name))) *Name = QStringLiteral("-");
  const std::vector<TRunFile> Files = {
      {TRole::Input, "circuit", NativeName(S.Circuit), "circuit file"},
      {TRole::Input, "scenario", NativeName(S.Scenario), "scenario file"},
      {TRole::Output, "csv", NativeName(S.Csv)},
      {TRole::Output, "laps", NativeName(S.Laps)},
      {TRole::Frames, "frames", NativeName(S.Frames)},
      {TRole::Folder, "report", NativeName(S.Report)},
      {TRole::Output, "save-scenario", NativeName(S.SaveScenario)},
  };
  if (const QString Clash = FindOutputClash(Files, S.Moves); !Clash.isEmpty()) Fail(Clash);

  CheckFile(S.Csv, "csv");
  CheckFile(S.Laps, "laps");
  CheckFile(S.SaveScenario, "save-scenario");
  if (!S.Frames.isEmpty()) {
    const QString First = FrameFileName(S.Frames, 1);
    if (const QString Problem = FolderProblem(NativeName(First)); !Problem.isEmpty())
      Fail(QStringLiteral("cannot save %1: %2.").arg(Named("frames", S.Frames), Problem), 1);
    if (const QString InTheWay = FrameInTheWay(NativeName(S.Frames), S.Moves); !InTheWay.isEmpty())
      Fail(QStringLiteral("cannot save %1: %2; frames are saved only as files.")
               .arg(Named("frames", S.Frames), InTheWay),
           1);
  }
  if (!S.Report.isEmpty()) {
    struct stat Info {};
    if (stat(NativeName(S.Report).constData(), &Info) == 0 && !S_ISDIR(Info.st_mode))
      Fail(QStringLiteral("cannot write %1: it is %2, not a folder.")
               .arg(Named("report", S.Report), QString::fromStdString(FileKindName(Info.st_mode))),
           1);
  }
}

void TRunOutputs::Open(const TRunSettings& Settings) {
  S = &Settings;
  const QLatin1String Standard("-");
  if (S->Csv == Standard || S->Laps == Standard || S->SaveScenario == Standard)
    SummaryStream = stderr;
  const auto OpenFile = [](TOutputFile& File, const QString& Name, const char* Option) {
    if (Name.isEmpty()) return;
    const std::function<void()> Waiting = [&] {
      std::fprintf(stderr, "kartrun: waiting for a reader of the FIFO %s...\n",
                   qPrintable(Named(Option, Name)));
    };
    if (!File.Open(NativeName(Name).toStdString(), Waiting))
      Fail(QStringLiteral("cannot write %1: %2.").arg(Named(Option, Name), Reason(File.Error())),
           1);
  };
  OpenFile(Csv, S->Csv, "csv");
  OpenFile(Laps, S->Laps, "laps");
  OpenFile(SavedScenario, S->SaveScenario, "save-scenario");
  if (!S->Report.isEmpty() && !Report.Open(NativeName(S->Report).toStdString(), IsReportFile))
    Fail(QStringLiteral("cannot write %1: %2; give a new folder, an empty one or an earlier "
                        "report.")
             .arg(Named("report", S->Report), Reason(Report.Error())),
         1);
  if (!S->Frames.isEmpty()) {
    // A first frame's temporary file shows now whether the folder takes files.
    TAtomicFile Probe;
    if (!Probe.Open(NativeName(FrameFileName(S->Frames, 1)).toStdString()))
      Fail(QStringLiteral("cannot save %1: %2.")
               .arg(Named("frames", S->Frames), Reason(Probe.Error())),
           1);
  }
}

void TRunOutputs::AddFrame(const QImage& Picture, int32_t Move) {
  Frames.push_back(std::make_unique<TAtomicFile>());
  try {
    PrepareFrameNative(Picture, NativeName(FrameFileName(S->Frames, Move)), *Frames.back());
  } catch (const std::exception& E) {
    Fail(E.what(), 1);
  }
}

void TRunOutputs::Finish(const TRaceLog& Log, const QImage& Circuit, const TRunFacts& Run,
                         const TScenario* Scenario) {
  // Everything is written whole first, under temporary names.
  if (Csv.IsOpen() && !Csv.Finish())
    Fail(QStringLiteral("cannot write %1: %2.").arg(Named("csv", S->Csv), Reason(Csv.Error())), 1);
  if (Laps.IsOpen())
    if (const QString Error = WriteLapsCsv(Laps, Log); !Error.isEmpty())
      Fail(QStringLiteral("cannot write %1: %2.").arg(Named("laps", S->Laps), Error), 1);
  if (!S->Report.isEmpty())
    if (const QString Error = WriteRunReport(Report.Where(), Circuit, Log, Run); !Error.isEmpty())
      Fail(QStringLiteral("cannot write %1: %2.").arg(Named("report", S->Report), Error), 1);
  if (SavedScenario.IsOpen() && Scenario) {
    const auto Write = [this](const char* Data, size_t Size) {
      return SavedScenario.Write(Data, Size);
    };
    if (!WriteScenarioJson(*Scenario, Write) || !SavedScenario.Finish())
      Fail(QStringLiteral("cannot write %1: %2.")
               .arg(Named("save-scenario", S->SaveScenario), Reason(SavedScenario.Error())),
           1);
  }
  // The names are given only once the summary has been printed in full.
  CheckPrinted(SummaryStream);

  // Then every output takes its name; should one fail, those before it are put back.
  struct TStep {
    QString What;
    std::function<bool()> Publish, Undo;
    std::function<std::string()> Error;
  };
  std::vector<TStep> Steps;
  for (auto [File, Name, Option] :
       {std::tuple{&Csv, S->Csv, "csv"}, std::tuple{&Laps, S->Laps, "laps"},
        std::tuple{&SavedScenario, S->SaveScenario, "save-scenario"}})
    if (!Name.isEmpty())
      Steps.push_back({Named(Option, Name), [F = File] { return F->Publish(); },
                       [F = File] { return F->Undo(); }, [F = File] { return F->Error(); }});
  for (const auto& Frame : Frames)
    Steps.push_back({QStringLiteral("the frame '%1'")
                         .arg(QFile::decodeName(QByteArray::fromStdString(Frame->Path()))),
                     [F = Frame.get()] { return F->Publish(); },
                     [F = Frame.get()] { return F->Undo(); },
                     [F = Frame.get()] { return F->Error(); }});
  if (!S->Report.isEmpty())
    Steps.push_back({Named("report", S->Report), [this] { return Report.Publish(); },
                     [this] { return Report.Undo(); }, [this] { return Report.Error(); }});
  for (size_t I = 0; I < Steps.size(); ++I) {
    if (Steps[I].Publish()) continue;
    QString Message = QStringLiteral("cannot give %1 its name: %2; ")
                          .arg(Steps[I].What, Reason(Steps[I].Error()));
    QStringList Stuck;
    for (size_t J = I; J-- > 0;)
      if (!Steps[J].Undo())
        Stuck << QStringLiteral("%1 (%2)").arg(Steps[J].What, Reason(Steps[J].Error()));
    Message += Stuck.isEmpty()
                   ? QStringLiteral("no output was changed.")
                   : QStringLiteral("these could not be put back: ") + Stuck.join(", ") + '.';
    Fail(Message, 1);
  }
  Csv.Settle();
  Laps.Settle();
  SavedScenario.Settle();
  for (const auto& Frame : Frames) Frame->Settle();
  Report.Settle();
}
