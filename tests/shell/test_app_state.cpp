#include "shell/app_state.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(Caption, FollowsTheModesInputName) {
  AppState app;
  EXPECT_EQ(captionFor(ProgramMode::LC, app), "Tavrin");
  EXPECT_EQ(captionFor(ProgramMode::DC, app), "Tavrin");

  app.dciName = "algol.dci";
  EXPECT_EQ(captionFor(ProgramMode::LC, app), "Tavrin");  // LC mode ignores the DCI name
  EXPECT_EQ(captionFor(ProgramMode::DC, app), "Tavrin - algol.dci");

  app.lciName = "algol.lci";
  EXPECT_EQ(captionFor(ProgramMode::LC, app), "Tavrin - algol.lci");
  EXPECT_EQ(captionFor(ProgramMode::DC, app), "Tavrin - algol.dci");

  app.dciName.clear();
  EXPECT_EQ(captionFor(ProgramMode::DC, app), "Tavrin");
  EXPECT_STREQ(kUntitledCaption, "Tavrin - [untitled]");
}

TEST(JoinPath, OneSeparator) {
  EXPECT_EQ(joinPath("", "a.lci"), "a.lci");
#ifdef _WIN32
  EXPECT_EQ(joinPath("c:\\data", "a.lci"), "c:\\data\\a.lci");
#else
  EXPECT_EQ(joinPath("/data", "a.lci"), "/data/a.lci");
  EXPECT_EQ(joinPath("/data/", "a.lci"), "/data/a.lci");
  EXPECT_EQ(joinPath("/", "a.lci"), "/a.lci");
#endif
}
