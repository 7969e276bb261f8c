// Names that reach files: blanks, quotes, semicolons, dollar signs, back
// quotes, line ends, leading dashes and non-ASCII letters in folders and file
// names of every writer and reader; a data-file name that would split a DCI
// record is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "contours/contour_file.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "model/lci_writer.h"
#include "model/observation_file.h"
#include "output/lco_reader.h"
#include "output/plot_observations.h"
#include "shell/errors.h"
#include "shell/settings.h"
#include "test_files.h"
#include "error_of.h"

using namespace tavrin::testing_support;
using namespace tavrin;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kHostile = {
    "with blanks  here", "quote'single", "quote\"double", "semi;colon; rm -rf x", "dollar$HOME${x}$(id)",
    "back`id`quote", "new\nline", "carriage\rreturn", "-leading-dash", "--", "Ærøskøbing ü Ω 星", "*?[glob]",
};

ParameterSet example() {
  return readDci(std::string(TAVRIN_SOURCE_DIR) + "/examples/example.dci", ParameterSet{}, Layout::Current).params;
}

}  // namespace

TEST(HostileNames, WritersAndReadersUseTheNameAsGiven) {
  const fs::path root = freshTestDir("hostile-names", "io");
  for (const std::string& h : kHostile) {
    const fs::path folder = root / ("dir " + h);
    fs::create_directories(folder);

    ParameterSet lc;
    lc.MODE = 2;
    const fs::path lci = folder / (h + ".lci");
    ASSERT_TRUE(saveLci(lc, lci.string()).written) << h;
    EXPECT_EQ(slurp(lci), lciText(lc)) << h;
    EXPECT_NO_THROW(readLci(lci.string(), ParameterSet{}, probeLci(lci.string()))) << h;

    ParameterSet dc = example();
    const fs::path dci = folder / (h + ".dci");
    ASSERT_TRUE(saveDci(dc, dci.string()).written) << h;
    const InputLoad back = readDci(dci.string(), ParameterSet{}, probeDci(dci.string()));
    EXPECT_EQ(back.dcoName, dcoNameFor(h + ".dci")) << h;

    contours::ContourGrid g;
    g.gridDef = contours::GridDef{1, 2, 0.2, 0.4, 2, 80.5, 86, 3, 2};
    g.resize();
    const fs::path contour = folder / (h + ".dat");
    contours::writeContourFile(contour.string(), g);
    EXPECT_EQ(contours::readContourFile(contour.string()).gridDef, g.gridDef) << h;

    // Observation files for DC and for the plots.
    const std::string csv = h + ".csv";
    std::ofstream(folder / csv, std::ios::binary) << "0.1,1.0\n0.2,0.9\n0.3,0.8\n";
    EXPECT_EQ(readObservationFile((folder / csv).string()).size(), 3u) << h;
    ParameterSet withData = example();
    loadObservationFile(withData, 3, folder.string(), csv);
    EXPECT_EQ(withData.curves[3].dataFile, csv);
    ObservedLight light;
    PlotState state;
    EXPECT_EQ(loadLightData(folder.string(), csv, withData, light, state), ObservationLoad::Loaded) << h;
    EXPECT_EQ(light.fileName, csv);
    EXPECT_EQ(light.count(), 3);

    // Reports under hostile names: a missing one is the table's missing file.
    EXPECT_EQ(errorOf([&] { (void)readLcoFile((folder / (h + ".lco")).string(), withData); }), kErrFileNotFound) << h;

    // Nothing else appeared anywhere (no name was taken apart by a shell).
    EXPECT_EQ(filesIn(folder), 4u) << h;  // lci, dci, dat, csv

    // Settings never restore another folder: one the four-line file cannot
    // carry (a quote or a line feed) is dropped rather than read back as something else.
    const fs::path programFolder = root / ("prog " + h);
    fs::create_directories(programFolder);
    Settings set;
    set.dataFolder = "/data/" + h;
    writeSettings(programFolder.string(), set);
    const bool carried = h.find_first_of("\"\n") == std::string::npos;
    EXPECT_EQ(readSettingsDataFolder(programFolder.string()), carried ? std::optional(set.dataFolder) : std::nullopt) << h;

    // A data-file name without a line end survives the DCI round trip.
    if (h.find_first_of("\r\n") != std::string::npos) continue;
    ParameterSet named = example();
    named.curves[1].dataFile = h + ".csv";
    EXPECT_EQ(readDciText(dciText(named), ParameterSet{}, Layout::Current, "x.dci").params.curves[1].dataFile, h + ".csv");
  }
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    const std::string n = e.path().filename().string();
    EXPECT_EQ(n.rfind(".tavrin-", 0), std::string::npos) << n;
  }
}

TEST(HostileNames, DataFileNameWithALineEndIsRefusedBeforeAnythingIsWritten) {
  const fs::path root = freshTestDir("hostile-names", "dci-line-end");
  const fs::path dci = root / "star.dci";
  std::ofstream(dci, std::ios::binary) << "previous";
  for (const std::string& bad : {std::string("two\nlines.csv"), std::string("cr\rname.csv"), std::string("end\r\n")}) {
    ParameterSet p = example();
    p.curves[1].dataFile = bad;
    try {
      (void)saveDci(p, dci.string());
      ADD_FAILURE() << "saved a DCI with a split record";
    } catch (const TavrinError& e) {
      EXPECT_EQ(e.number(), kErrBadFileName64);
      EXPECT_STREQ(e.what(), "Error 64: Bad file name.");
    }
    EXPECT_EQ(slurp(dci), "previous");
  }
}
