// Writes the example model of examples/: an LCI for the light curve, one for
// the velocity curves, the DC input with its four observed curves started
// from a visibly wrong model, and the observation files (which serve both the
// DC data-file list and the plot windows).
//
//   standin_examples DIR

#include <cstdio>
#include <exception>
#include <string>

#include "example_system.h"
#include "model/dci_writer.h"
#include "model/lci_writer.h"
#include "shell/atomic_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: standin_examples DIR\n");
    return 2;
  }
  try {
    using namespace tavrin::standin;
    const std::string dir = argv[1];
    tavrin::ParameterSet lc = exampleTruth();
    tavrin::writeFileAtomically(dir + "/example.lci", tavrin::lciText(lc));
    lc.MPAGE = 2;
    tavrin::writeFileAtomically(dir + "/example_rv.lci", tavrin::lciText(lc));
    const tavrin::ParameterSet dc = exampleDcStart();
    tavrin::writeFileAtomically(dir + "/example.dci", tavrin::dciText(dc));
    tavrin::writeFileAtomically(dir + "/" + kExampleRv1File, observationCsv(dc.curves[1]));
    tavrin::writeFileAtomically(dir + "/" + kExampleRv2File, observationCsv(dc.curves[2]));
    tavrin::writeFileAtomically(dir + "/" + kExampleLightBFile, observationCsv(dc.curves[3]));
    tavrin::writeFileAtomically(dir + "/" + kExampleLightVFile, observationCsv(dc.curves[4]));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "standin_examples: %s\n", e.what());
    return 1;
  }
  return 0;
}
