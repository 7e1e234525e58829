#include "ui/UToolTips.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <utility>

namespace {

// Control name and tooltip: what it means, its unit and its range.
const std::pair<const char*, const char*> Tips[] = {
    {"ImgRoad",
     "The circuit: pure black is off the road, every other colour is road; the chequered line "
     "is the start line, the ring marks the chosen kart. Click it (or Ctrl+K) and the arrow keys "
     "move the chosen kart by 5 pixels, Shift with left or right turns it."},
    {"EdFriction",
     "Road friction coefficient: how much speed the road takes per 100 ms step. 0.001 to 0.300 "
     "(slider in thousandths); every kart. Off the road it is three times higher."},
    {"EdSideFriction",
     "Slide friction coefficient: how much sideways slide is taken away per step. 0 to 1.00 "
     "(slider in hundredths); every kart."},
    {"CBTeamScore",
     "Weigh every future by the mean score of all karts' futures of the same pass, so the karts "
     "think as a team (at least 500 futures per move) instead of each for itself (200)."},
    {"EdCollisions", "Karts bounce off each other, in the real moves and in their futures."},
    {"EdColor", "Colour of the chosen kart. Click to choose another."},
    {"EdKartId",
     "The kart the controls below act on. Keyboard: Ctrl+PgDown next kart, Ctrl+PgUp previous."},
    {"BtnAddKart", "Adds a kart on top of the last one, with its settings and state."},
    {"BtnSubKart", "Removes the chosen kart; the last kart always stays."},
    {"EdMaxPower",
     "Engine max. power of the chosen kart: the highest engine push, px/s\u00b2. 1 to 25."},
    {"EdMax_Turn",
     "Max. turning of the chosen kart: the largest wheel angle to the right, degrees. 10 to 90."},
    {"EdSize", "Size of the chosen kart: the radius of its outline, pixels. 4 to 40."},
    {"EdSeconds",
     "Length of every imagined future, simulated seconds (100 ms steps). 1 to 20; every kart."},
    {"EdRadio",
     "End points grid size of the chosen kart: futures ending in the same square cell of this "
     "side count once, pixels. 5 to 25 (the kart may use up to 30)."},
    {"EdAutoRadio",
     "Let the chosen kart adapt its grid size after every move to the number of distinct "
     "futures."},
    {"EdUseRefined",
     "Refine the chosen kart's averaged decision towards the peak of a smooth curve through "
     "its options' shares."},
    {"SpeedButton1", "Moves the chosen kart 5 pixels left; while stopped also its start."},
    {"SpeedButton2", "Moves the chosen kart 5 pixels up; while stopped also its start."},
    {"SpeedButton3", "Moves the chosen kart 5 pixels right; while stopped also its start."},
    {"SpeedButton4", "Moves the chosen kart 5 pixels down; while stopped also its start."},
    {"SpeedButton6", "Turns the chosen kart 15 degrees to the left; while stopped also its start."},
    {"SpeedButton5",
     "Turns the chosen kart 15 degrees to the right; while stopped also its start."},
    {"DebugMemo",
     "Thinking of the karts with a debug level: at \"Trace futures\" the drag coefficient of "
     "the last step, at \"Traces futures and ending points.\" the futures, options and shares. "
     "Read-only; Tab goes on to the next control."},
    {"StartBtn",
     "Runs the simulation: one move of 100 ms after another, in real time (Space runs and "
     "pauses)."},
    {"PauseBtn", "Stops the simulation after the move under way (Space runs and pauses)."},
    {"BtnReset", "Puts every kart back to its start; frames are numbered from 1 again."},
    {"Loadcircuit800x600BMP1",
     "Loads a circuit picture (BMP, 800 x 600; pure black is off the road). The karts stay."},
    {"Saveimagestofolder",
     "Saves every drawn frame as NAME_0001.bmp, NAME_0002.bmp, ... after the name given; the "
     "status bar counts them."},
    {"RunPause", "Runs the simulation when it stands, pauses it when it runs (Space)."},
    {"ResetItem", "Puts every kart back to its start, as the Reset button does."},
    {"LineUpOnGrid",
     "Puts every kart at rest on a starting grid behind kart #1's start line: two abreast, "
     "staggered, facing the start direction; kart #1 keeps its start. Also while running; the "
     "race table starts afresh (Ctrl+G). Where the road does not loop or is too narrow, it says "
     "why and the karts stay."},
    {"RacePreset",
     "Races the lap direction and holds every kart's end-point grid at 10 px instead of adapting "
     "it: no kart against the field, and the fastest laps at a few thousand futures or more "
     "(see the read-me's driving notes). Only where the road loops through kart #1's start."},
    {"AsFastAsPossible",
     "Moves follow each other as soon as each is thought out, instead of one per 100 ms of "
     "wall time."},
    {"FocusCircuit",
     "Gives the circuit picture the keys: the arrow keys move the chosen kart, Shift with left "
     "or right turns it (Ctrl+K). Tab leaves it."},
    {"Quit", "Closes the window and ends the program (Ctrl+Q)."},
    {"About", "The program's version, and its read-me."},
    {"MenuDebug0", "The chosen kart shows nothing of its thinking."},
    {"MenuDebug1", "The chosen kart draws the paths of its futures and its drag in the text box."},
    {"MenuDebug2",
     "The chosen kart draws its futures' paths and end points and lists its options."},
    {"MenuCleanTrack", "Unchecked, every drawing stays on the picture as a trail."},
    {"BuiltInCircuit", "Puts the built-in circuit back; the karts keep where they are."},
    {"SaveCircuitAs",
     "Saves the circuit as it is now, drawing included, as a 24-bit BMP that can be loaded "
     "again."},
    {"OpenScenario",
     "Opens a kept race: circuit, settings, every kart's state and the random source, so that "
     "it goes on exactly as it did."},
    {"SaveScenario",
     "Keeps the race as it is now in a file: circuit, settings, every kart's state and the "
     "random source."},
    {"DrawBrush0", "The mouse on the circuit draws nothing."},
    {"DrawBrush1",
     "The mouse paints road on the circuit; karts may drive there from the next move."},
    {"DrawBrush2",
     "The mouse paints off-road (pure black) on the circuit; karts avoid it from the next move."},
    {"BrushSize4", "Paints a stroke 4 pixels wide."},
    {"BrushSize8", "Paints a stroke 8 pixels wide."},
    {"BrushSize16", "Paints a stroke 16 pixels wide."},
    {"BrushSize32", "Paints a stroke 32 pixels wide."},
    {"BrushSize64", "Paints a stroke 64 pixels wide."},
    {"UndoStroke", "Takes the last painted stroke back (up to 50 strokes; Ctrl+Z)."},
    {"Zoom0", "Shows the whole circuit in the picture area, however large it is."},
    {"Zoom1", "Shows the circuit pixel for pixel, from its top-left corner."},
    {"Zoom2", "Shows the circuit at twice its size; scroll to see the rest."},
    {"Zoom3", "Shows the circuit at three times its size; scroll to see the rest."},
    {"Zoom4", "Shows the circuit at four times its size; scroll to see the rest."},
    {"FollowKart", "Keeps the chosen kart in the middle of the view as it drives."},
    {"ImgRoadHBar", "Scrolls a circuit wider than the view (or Shift and the mouse wheel)."},
    {"ImgRoadVBar", "Scrolls a circuit taller than the view (or the mouse wheel)."},
    {"MenuThinkingView",
     "Opens the thinking of the chosen kart: its options and shares, the decision plane, and "
     "its last minute of futures, end cells, grid size and speed (Ctrl+T)."},
    {"MenuRaceTable",
     "Opens the race table: laps, lap times, distance, speed, time off the road, futures per "
     "move, wrong-way marks and seconds, and the place of every kart (Ctrl+R)."},
    {"MenuNextKart", "Chooses the next kart in the list (Ctrl+PgDown)."},
    {"MenuPreviousKart", "Chooses the previous kart in the list (Ctrl+PgUp)."},
    {"LbRunState", "Whether the simulation runs, is paused or has not started."},
    {"LbMovesPerSecond", "Real moves (100 ms of simulated time each) per second of wall time."},
    {"LbFuturesPerMove",
     "Futures the chosen kart imagined in its last move, and how many stayed distinct."},
    {"LbFrames", "Frames saved since saving was switched on, and the disk space they take."},
};

}  // namespace

void ApplyToolTips(QWidget& Window) {
  for (const auto& [Name, Tip] : Tips) {
    const QString Text = QString::fromUtf8(Tip);
    const QString N = QString::fromLatin1(Name);
    if (auto* W = Window.findChild<QWidget*>(N)) W->setToolTip(Text);
    if (auto* A = Window.findChild<QAction*>(N)) A->setToolTip(Text);
    // A slider's value label says the same as its slider.
    if (N.startsWith(QLatin1String("Ed")))
      if (auto* Label = Window.findChild<QWidget*>(QStringLiteral("Lb") + N.mid(2)))
        Label->setToolTip(Text);
  }
}
