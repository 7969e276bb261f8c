#pragma once
// Everything the program holds while it runs, owned by the main window, and
// the rules of how loading and saving an input file change it. The window
// asks for the names, calls these and shows what they say.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/parameter_history.h"
#include "model/parameter_set.h"
#include "output/corrections.h"
#include "output/dco_reader.h"
#include "output/lco_reader.h"
#include "output/plot_observations.h"
#include "output/plot_state.h"
#include "shell/app_state.h"
#include "shell/errors.h"

namespace tavrin {

struct Session {
  AppState app;
  ParameterSet params;
  ProgramMode mode = ProgramMode::LC;
  ParameterHistory history = ParameterHistory::fromParameterSet(ParameterSet{});
  // Last answer of the transfer question when switching DC -> LC.
  bool transferDcValues = false;
  // Index (1..7) of the curve row whose data file is being chosen.
  int currentCurve = 1;
  // The last LCO read, the plots' shared options and their observed points.
  ComputedCurve curve;
  PlotState plot;
  ObservedLight observedLight;
  ObservedVelocities observedVelocities;
  // The last DCO read, the I/O Parms rows applied since the last standard
  // read, and whether the DCO was picked in the file dialog.
  DcResults dcResults;
  UpdateDone updateDone;
  bool dcoChosenByUser = false;
  // A field was changed since the last successful save or load. Kept apart
  // from the fields' blue marking, which every save attempt clears.
  bool editedSinceSave = false;
};

enum class InputKind { Lci, Dci };
inline ProgramMode modeOf(InputKind k) { return k == InputKind::Dci ? ProgramMode::DC : ProgramMode::LC; }
// The name of the input file of the kind, and of the session's mode ("" when none).
const std::string& inputName(const Session& s, InputKind kind);
const std::string& currentInputName(const Session& s);
// Where the input file of the kind is ("" when it has no name).
std::string inputPath(const Session& s, InputKind kind);

// What the window shows after a load.
struct LoadOutcome {
  bool loaded = false;
  std::map<std::string, std::string> displayTexts;  // control -> text, as the file holds it
  std::string caption;
  std::string message;  // why nothing was taken
};
// Reads `name` in the data folder into the session. A failed read takes
// nothing, drops the name (so Save asks for one instead of writing over the
// file that failed) and raises readError until loadShown.
LoadOutcome loadInto(Session& s, const std::string& name, InputKind kind);
// Once the window shows the load: the fields are the file's, and a read error is over.
void loadShown(Session& s, const LoadOutcome& o);

// What the window shows after a save of the gathered set.
struct SavedInput {
  bool saved = false;
  std::string message;  // the refusal or the write failure
  // Show POT2 as POTH is shown (the LCI ties them in MODE 1 and 3); not after a failed write.
  bool tiePotentials = false;
  // Values the potential check snapped: the window shows them, the file keeps the earlier ones.
  std::optional<std::string> poth, pot2;
  std::string caption;
};
// Writes the set as `name` in the data folder. On success the name and the
// mode follow the file; a refusal or a failed write leaves them as they were.
SavedInput saveFrom(Session& s, const std::string& name, InputKind kind);
// Once the window shows the save: a saved set has no edits since.
void saveShown(Session& s, const SavedInput& o);

// A report or data file could not be read: the session says so until the
// next successful load. What the user is told ("Error N." for a number
// without a text).
std::string readFailed(Session& s, const TavrinError& e);

// Reads the session's DCO as loadDco does. Every read offers all its rows
// for Update again, whichever way the report was chosen.
DcoLoadOutcome readSessionDco(Session& s);

// Takes every light curve's L1 of `from` into the session's set, where they
// live (no editor field holds them): the curve rows that changed. Any change is an edit.
std::vector<size_t> takeLightLevels(Session& s, const ParameterSet& from);

// Takes the values of `from` that DC adjusted (the unknowns of `results`):
// the editor fields that show them, with their texts. Values no field shows
// go straight into the session's set, and that is an edit.
std::vector<FieldText> takeAdjustedValues(Session& s, const ParameterSet& from, const DcResults& results);

}  // namespace tavrin
