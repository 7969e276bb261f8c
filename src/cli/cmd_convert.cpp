// tavrin-cli convert IN OUT [--lci|--dci]: reads an LCI or DCI of either
// layout and writes it in the current layout through the same writer and
// potential checks as Save. A refusal leaves OUT untouched and exits 3.
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/commands.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "model/lci_writer.h"
#include "shell/errors.h"

namespace tavrin::cli {

char inputKindOf(const std::string& path, const std::vector<std::string>& flags);
InputLoad loadInputFile(const std::string& path, char kind);

namespace {

int convertCommand(const std::vector<std::string>& args, Io& io) {
  std::vector<std::string> files, flags;
  for (const auto& a : args) (a == "--lci" || a == "--dci" ? flags : files).push_back(a);
  if (files.size() != 2 || flags.size() > 1) {
    io.err << "usage: tavrin-cli convert IN OUT [--lci|--dci]\n";
    return 2;
  }
  const char kind = inputKindOf(files[0], flags);
  if (kind == 0) {
    io.err << "tavrin-cli convert: cannot tell an LCI from a DCI by the name; use --lci or --dci\n";
    return 2;
  }
  try {
    InputLoad load = loadInputFile(files[0], kind);
    const SaveOutcome saved = kind == 'L' ? saveLci(load.params, files[1]) : saveDci(load.params, files[1]);
    if (!saved.written) {
      io.err << saved.refusal << "\n";
      return 3;
    }
    nlohmann::ordered_json out;
    out["kind"] = kind == 'L' ? "LCI" : "DCI";
    out["from"] = load.layout == Layout::Current ? "current" : "older";
    out["written"] = files[1];
    // A check that snapped a potential shows it; the file keeps the earlier value.
    if (saved.text46) out["Text46"] = *saved.text46;
    if (saved.text47) out["Text47"] = *saved.text47;
    io.out << out.dump() << "\n";
  } catch (const TavrinError& e) {
    io.err << e.what() << "\n";
    return 1;
  }
  return 0;
}

const CommandRegistration reg("convert",
                              "convert IN OUT [--lci|--dci]   rewrite an LCI or DCI of either layout in the current one",
                              convertCommand);

}  // namespace
}  // namespace tavrin::cli
