// The main window's editor rules, mode switches, set copying and critical
// potentials, as transcripts of real widgets (see main_scenario.h).
#include <gtest/gtest.h>

#include "main_scenario.h"

TEST(frmMainScenario, Editor) { mwtest::expectScenario("main_editor.txt"); }
TEST(frmMainScenario, Gather) { mwtest::expectScenario("main_gather.txt"); }
TEST(frmMainScenario, CritPots) { mwtest::expectScenario("main_critpots.txt"); }
TEST(frmMainScenario, Modes) { mwtest::expectScenario("main_modes.txt"); }
TEST(frmMainScenario, FileCommands) { mwtest::expectScenario("main_files.txt"); }
TEST(frmMainScenario, InputSafety) { mwtest::expectScenario("main_safety.txt"); }
TEST(frmMainScenario, ShellExitAndSettings) { mwtest::expectScenario("main_shell.txt"); }
