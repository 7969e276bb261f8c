// The main window as transcripts of real widgets (see main_scenario.h): the
// editor rules, copying the set, critical potentials, LC/DC switches, the
// file commands, refused input and questions, Exit and the settings file,
// dropped files, the recent files and the window's geometry; reports refused
// while the stand-ins run, the DC cycle, failed and custom runs.
#include <gtest/gtest.h>

#include "main_scenario.h"

TEST(frmMainScenario, Transcripts) {
  for (const char* name : {"main_editor.txt", "main_gather.txt", "main_critpots.txt", "main_modes.txt", "main_files.txt",
                           "main_safety.txt", "main_shell.txt", "main_desktop.txt", "main_running.txt",
                           "main_dc_refusals.txt", "main_help.txt"}) {
    SCOPED_TRACE(name);
    mwtest::expectScenario(name);
  }
}
