// tavrin-cli field: the number-field routines as a line filter. One request a
// line on stdin, one result a line on stdout:
//   plain X | int V WIDTH PAD | fixed X WIDTH DECIMALS | exp X WIDTH DIGITS |
//   dtoe TEXT | align WIDTH TEXT
// PAD is the pad text, or "space" for a blank, or "empty". A request that
// overflows answers with the overflow message as its line.
#include <charconv>
#include <iostream>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "model/number_fields.h"
#include "shell/errors.h"

namespace tavrin::cli {
namespace {

struct BadRequest {
  std::string why;
};

std::vector<std::string_view> words(std::string_view s) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) out.push_back(s.substr(start, i - start));
  }
  return out;
}

double realArg(std::string_view w) {
  std::string_view t = w;
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  double v = 0.0;
  const auto res = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // Too large is an overflow; too small is zero.
    const size_t e = t.find_first_of("eE");
    if (e != std::string_view::npos && e + 1 < t.size() && t[e + 1] == '-') return 0.0;
    throwError(kErrOverflow);
  }
  if (res.ec != std::errc() || res.ptr != t.data() + t.size() || t.empty())
    throw BadRequest{"not a number: '" + std::string(w) + "'"};
  return v;
}

int intArg(std::string_view w) {
  std::string_view t = w;
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  long long v = 0;
  const auto res = std::from_chars(t.data(), t.data() + t.size(), v);
  if (res.ec == std::errc::result_out_of_range && res.ptr == t.data() + t.size()) throwError(kErrOverflow);
  if (res.ec != std::errc() || res.ptr != t.data() + t.size() || t.empty())
    throw BadRequest{"not an integer: '" + std::string(w) + "'"};
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) throwError(kErrOverflow);
  return static_cast<int>(v);
}

void needWords(const std::vector<std::string_view>& w, size_t n, const char* form) {
  if (w.size() != n) throw BadRequest{std::string("expected '") + form + "'"};
}

// Rest of the line after the command word and one blank.
std::string_view restAfter(std::string_view line, size_t pos) {
  if (pos >= line.size()) return {};
  return line.substr(pos + 1);
}

std::string answer(std::string_view line) {
  const auto w = words(line);
  if (w.empty()) return {};
  const std::string_view cmd = w[0];
  if (cmd == "plain") {
    needWords(w, 2, "plain X");
    return plainNumberText(realArg(w[1]));
  }
  if (cmd == "int") {
    needWords(w, 4, "int V WIDTH PAD");
    const int v = intArg(w[1]);
    const int width = intArg(w[2]);
    std::string_view pad = w[3];
    if (pad == "space") pad = " ";
    else if (pad == "empty") pad = "";
    return intField(v, width, pad);
  }
  if (cmd == "fixed") {
    needWords(w, 4, "fixed X WIDTH DECIMALS");
    return fixedField(realArg(w[1]), intArg(w[2]), intArg(w[3]));
  }
  if (cmd == "exp") {
    needWords(w, 4, "exp X WIDTH DIGITS");
    return expField(realArg(w[1]), intArg(w[2]), intArg(w[3]));
  }
  // The text commands take the line as written, not as words.
  if (line.substr(0, 4) == "dtoe" && (line.size() == 4 || line[4] == ' '))
    return exponentDToE(std::string(restAfter(line, 4)));
  if (line.substr(0, 6) == "align ") {
    const std::string_view rest = line.substr(6);
    const size_t blank = rest.find(' ');
    const std::string_view widthText = rest.substr(0, blank);
    const int width = intArg(widthText);
    return alignFirstToken(std::string(blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1)),
                           width);
  }
  throw BadRequest{"unknown request '" + std::string(cmd) + "'"};
}

int runField(const std::vector<std::string>& args, Io& io) {
  if (!args.empty()) {
    io.err << "usage: tavrin-cli field < requests\n";
    return 2;
  }
  // Synchronised stdio reports no buffered input, which would flush every line.
  if (&io.in == &std::cin) std::ios::sync_with_stdio(false);
  std::string line;
  std::string out;
  out.reserve(1 << 16);
  long lineNo = 0;
  auto flush = [&] {
    io.out.write(out.data(), static_cast<std::streamsize>(out.size()));
    io.out.flush();
    out.clear();
  };
  while (true) {
    // Answer before waiting for more input, so the filter also works interactively.
    if (!out.empty() && (io.in.rdbuf()->in_avail() <= 0 || out.size() > (1 << 16))) flush();
    if (!std::getline(io.in, line)) break;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    try {
      out += answer(line);
    } catch (const TavrinError& e) {
      out += e.what();
    } catch (const BadRequest& b) {
      flush();
      io.err << "tavrin-cli field: line " << lineNo << ": " << b.why << "\n";
      return 2;
    }
    out += '\n';
  }
  flush();
  return 0;
}

const CommandRegistration reg("field",
                              "field   < requests: plain X | int V WIDTH PAD | fixed X WIDTH DECIMALS | "
                              "exp X WIDTH DIGITS | dtoe TEXT | align WIDTH TEXT",
                              runField);

}  // namespace
}  // namespace tavrin::cli
