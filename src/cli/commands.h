#pragma once
// Sub-commands of tavrin-cli. Each lives in its own cmd_*.cpp file and
// registers itself with a static CommandRegistration, so adding a command
// touches no other file.
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tavrin::cli {

struct Io {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// Exit codes: 0 success, 1 failure (system message on stderr), 2 usage error.
using CommandFn = std::function<int(const std::vector<std::string>& args, Io& io)>;

struct CommandRegistration {
  CommandRegistration(const char* name, const char* usage, CommandFn fn);
};

// Whole-text numbers of options (C locale); false for anything else.
bool parseDouble(const std::string& s, double& v);
bool parseInt(const std::string& s, int& v);

int run(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace tavrin::cli
