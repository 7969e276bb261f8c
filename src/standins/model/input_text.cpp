// The stand-ins read their input text with the core's LCI/DCI readers.

#include <stdexcept>
#include <string>

#include "model/input_reader.h"
#include "standin.h"

namespace tavrin::standin {

namespace {

void requireText(const std::string& text) {
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) throw std::runtime_error("the input is empty");
}

}  // namespace

ParameterSet parseLciText(const std::string& text) {
  requireText(text);
  return readLciText(text, ParameterSet{}, probeLciText(text)).params;
}

ParameterSet parseDciText(const std::string& text) {
  requireText(text);
  return readDciText(text, ParameterSet{}, probeDciText(text)).params;
}

}  // namespace tavrin::standin
