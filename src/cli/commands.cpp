#include "cli/commands.h"

#include <charconv>
#include <map>
#include <ostream>

namespace tavrin::cli {
namespace {
struct Entry {
  std::string usage;
  CommandFn fn;
};
std::map<std::string, Entry>& registry() {
  static std::map<std::string, Entry> r;
  return r;
}
void printUsage(std::ostream& err) {
  err << "usage: tavrin-cli COMMAND [ARGS...]\ncommands:\n";
  for (const auto& [name, e] : registry()) err << "  " << e.usage << "\n";
}
}  // namespace

bool parseDouble(const std::string& s, double& v) {
  const char* b = s.data();
  const char* e = b + s.size();
  if (b != e && *b == '+') ++b;
  const auto r = std::from_chars(b, e, v);
  return r.ec == std::errc() && r.ptr == e && b != e;
}

bool parseInt(const std::string& s, int& v) {
  const char* b = s.data();
  const char* e = b + s.size();
  const auto r = std::from_chars(b, e, v);
  return r.ec == std::errc() && r.ptr == e && b != e;
}

CommandRegistration::CommandRegistration(const char* name, const char* usage, CommandFn fn) {
  registry()[name] = Entry{usage, std::move(fn)};
}

int run(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
  if (argc < 2) {
    printUsage(err);
    return 2;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    printUsage(out.good() ? err : err);
    return 0;
  }
  auto it = registry().find(name);
  if (it == registry().end()) {
    err << "tavrin-cli: unknown command '" << name << "'\n";
    printUsage(err);
    return 2;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  Io io{in, out, err};
  return it->second.fn(args, io);
}

}  // namespace tavrin::cli
