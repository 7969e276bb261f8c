// tavrin-cli obs FILE: the points of a DC observation file, as the loader reads them.
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/commands.h"
#include "model/observation_file.h"
#include "shell/errors.h"

namespace tavrin::cli {
namespace {

int obsCommand(const std::vector<std::string>& args, Io& io) {
  if (args.size() != 1) {
    io.err << "usage: tavrin-cli obs FILE\n";
    return 2;
  }
  std::vector<ObservationPoint> points;
  try {
    points = readObservationFile(args[0]);
  } catch (const TavrinError& e) {
    io.err << e.what() << "\n";
    return 1;
  }
  nlohmann::json list = nlohmann::json::array();
  for (const ObservationPoint& p : points) list.push_back({p.time, p.value, p.weight});
  nlohmann::json out;
  out["points"] = std::move(list);
  io.out << out.dump() << "\n";
  return 0;
}

const CommandRegistration reg("obs", "obs FILE   print the points of a DC observation file as JSON", obsCommand);

}  // namespace
}  // namespace tavrin::cli
