// The main window as transcripts of real widgets (see main_scenario.h): the
// editor rules, copying the set, critical potentials, LC/DC switches, the
// file commands, refused input and questions, Exit and the settings file,
// dropped files, the recent files and the window's geometry.
#include <gtest/gtest.h>

#include "main_scenario.h"

TEST(frmMainScenario, Editor) { mwtest::expectScenario("main_editor.txt"); }
TEST(frmMainScenario, Gather) { mwtest::expectScenario("main_gather.txt"); }
TEST(frmMainScenario, CritPots) { mwtest::expectScenario("main_critpots.txt"); }
TEST(frmMainScenario, Modes) { mwtest::expectScenario("main_modes.txt"); }
TEST(frmMainScenario, FileCommands) { mwtest::expectScenario("main_files.txt"); }
TEST(frmMainScenario, InputSafety) { mwtest::expectScenario("main_safety.txt"); }
TEST(frmMainScenario, ShellExitAndSettings) { mwtest::expectScenario("main_shell.txt"); }
TEST(frmMainScenario, DropsRecentFilesAndGeometry) { mwtest::expectScenario("main_desktop.txt"); }
