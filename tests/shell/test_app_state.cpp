#include "shell/app_state.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace tavrin;

TEST(Caption, FollowsTheModesInputName) {
  // LCI name, DCI name, then the caption in LC mode and in DC mode.
  for (const auto& [lci, dci, lc, dc] :
       {std::tuple{"", "", "Tavrin", "Tavrin"}, {"", "algol.dci", "Tavrin", "Tavrin - algol.dci"},
        {"algol.lci", "algol.dci", "Tavrin - algol.lci", "Tavrin - algol.dci"}, {"algol.lci", "", "Tavrin - algol.lci", "Tavrin"}}) {
    AppState app;
    app.lciName = lci;
    app.dciName = dci;
    EXPECT_EQ(captionFor(ProgramMode::LC, app), lc) << lci << "|" << dci;
    EXPECT_EQ(captionFor(ProgramMode::DC, app), dc) << lci << "|" << dci;
  }
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
