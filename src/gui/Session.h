#pragma once
// Everything the program holds while it runs, owned by the main window.
// Windows and command files reach it through frmMain::session().
#include "model/parameter_history.h"
#include "model/parameter_set.h"
#include "output/corrections.h"
#include "output/dco_reader.h"
#include "output/lco_reader.h"
#include "output/plot_observations.h"
#include "output/plot_state.h"
#include "shell/app_state.h"

struct Session {
  tavrin::AppState app;
  tavrin::ParameterSet params;
  tavrin::ProgramMode mode = tavrin::ProgramMode::LC;
  tavrin::ParameterHistory history = tavrin::ParameterHistory::fromParameterSet(tavrin::ParameterSet{});
  // Last answer of the transfer question when switching DC -> LC.
  bool transferDcValues = false;
  // Index (1..7) of the curve row whose data file is being chosen.
  int currentCurve = 1;
  // The last LCO read, the plots' shared options and their observed points.
  tavrin::ComputedCurve curve;
  tavrin::PlotState plot;
  tavrin::ObservedLight observedLight;
  tavrin::ObservedVelocities observedVelocities;
  // The last DCO read, the I/O Parms rows applied since the last standard
  // read, and whether the DCO was picked in the file dialog.
  tavrin::DcResults dcResults;
  tavrin::UpdateDone updateDone;
  bool dcoChosenByUser = false;
  // A field was changed since the last successful save or load. Kept apart
  // from the fields' blue marking, which every save attempt clears.
  bool editedSinceSave = false;
};
