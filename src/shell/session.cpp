#include "shell/session.h"

#include <exception>
#include <new>

#include "model/dc_parameters.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "model/lci_writer.h"
#include "shell/errors.h"

namespace tavrin {

const std::string& inputName(const Session& s, InputKind kind) {
  return kind == InputKind::Dci ? s.app.dciName : s.app.lciName;
}

const std::string& currentInputName(const Session& s) {
  return inputName(s, s.mode == ProgramMode::DC ? InputKind::Dci : InputKind::Lci);
}

std::string inputPath(const Session& s, InputKind kind) {
  const std::string& name = inputName(s, kind);
  return name.empty() ? std::string() : joinPath(s.app.dataFolder, name);
}

LoadOutcome loadInto(Session& s, const std::string& name, InputKind kind) {
  const bool dci = kind == InputKind::Dci;
  std::string& own = dci ? s.app.dciName : s.app.lciName;
  own = name;
  // The probe switches the mode before the file is read.
  s.mode = modeOf(kind);
  LoadOutcome o;
  try {
    const std::string path = joinPath(s.app.dataFolder, name);
    const Layout layout = dci ? probeDci(path) : probeLci(path);
    InputLoad load = dci ? readDci(path, s.params, layout) : readLci(path, s.params, layout);
    s.params = std::move(load.params);
    s.app.olderLayout = layout == Layout::Older;
    if (dci) {
      s.app.dcoName = load.dcoName;
      s.app.lciName.clear();
      s.history = ParameterHistory::fromParameterSet(s.params);
    } else {
      s.app.dciName.clear();
      s.transferDcValues = false;
    }
    o.loaded = true;
    o.displayTexts = std::move(load.displayTexts);
    o.caption = "Tavrin - " + name + (s.app.olderLayout ? "*" : "");
  } catch (const std::exception& e) {
    s.app.readError = true;
    own.clear();
    s.app.olderLayout = false;
    o.caption = kUntitledCaption;
    const auto* te = dynamic_cast<const TavrinError*>(&e);
    o.message = te ? te->what() : errorMessage(kErrOutOfMemory);
  }
  return o;
}

void loadShown(Session& s, const LoadOutcome& o) {
  if (o.loaded) s.editedSinceSave = false;  // the fields now are the file's
  s.app.readError = false;
}

SavedInput saveFrom(Session& s, const std::string& name, InputKind kind) {
  const bool dci = kind == InputKind::Dci;
  const std::string path = joinPath(s.app.dataFolder, name);
  SavedInput o;
  SaveOutcome out;
  try {
    out = dci ? saveDci(s.params, path) : saveLci(s.params, path);
  } catch (const TavrinError& e) {
    o.message = e.what();
    return o;
  } catch (const std::bad_alloc&) {
    o.message = errorMessage(kErrOutOfMemory);
    return o;
  }
  o.tiePotentials = !dci && (s.params.MODE == 1 || s.params.MODE == 3);
  o.poth = out.text46;
  o.pot2 = out.text47;
  if (!out.written) {
    o.message = out.refusal;
    return o;
  }
  (dci ? s.app.dciName : s.app.lciName) = name;
  (dci ? s.app.lciName : s.app.dciName).clear();
  s.app.olderLayout = false;
  s.mode = modeOf(kind);
  o.saved = true;
  o.caption = "Tavrin - " + name;
  return o;
}

void saveShown(Session& s, const SavedInput& o) {
  if (o.saved) s.editedSinceSave = false;
}

std::vector<size_t> takeLightLevels(Session& s, const ParameterSet& from) {
  std::vector<size_t> changed;
  for (size_t k = 0; k < s.params.curves.size(); ++k)
    if (s.params.curves[k].l1 != from.curves[k].l1) {
      s.params.curves[k].l1 = from.curves[k].l1;
      s.editedSinceSave = true;
      changed.push_back(k);
    }
  return changed;
}

std::vector<FieldText> takeAdjustedValues(Session& s, const ParameterSet& from, const DcResults& results) {
  std::vector<FieldText> fields;
  ParameterSet values = from;  // the slots are reached through a mutable set
  for (const DcIoRow& io : results.ioRows) {
    const double* value = dcParameterSlot(values, io.param, io.curve);
    if (!value) continue;
    if (auto field = dcParameterField(io.param, *value)) {
      fields.push_back(std::move(*field));
    } else if (double* to = dcParameterSlot(s.params, io.param, io.curve)) {
      *to = *value;
      s.editedSinceSave = true;
    }
  }
  return fields;
}

std::string readFailed(Session& s, const TavrinError& e) {
  s.app.readError = true;
  const std::string text = e.what();
  return text.empty() ? "Error " + std::to_string(e.number()) + "." : text;
}

DcoLoadOutcome readSessionDco(Session& s) {
  DcoLoadOutcome out = loadDco(s.app, s.params, s.dcResults, s.dcoChosenByUser);
  s.updateDone.assign(s.dcResults.ioRows.size(), false);
  return out;
}

}  // namespace tavrin
