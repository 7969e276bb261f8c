// The Adjust and Increments windows driven by golden/win_adjust.tsv: after
// each step the keys, the list DC is given, the increments and the main
// window's red (adjusted) labels go to the transcript.
#include "EditorWindows.h"
#include "frmAdjust.h"
#include "win_support.h"

namespace {

class AdjustWindow : public win::WindowScript {
 protected:
  void special(const std::vector<std::string>& r) override {
    frmAdjust& w = adjustWindow(*main);
    if (r[0] == "only") {  // only K...: exactly these boxes checked
      for (int k = 1; k <= 35; ++k)
        if (k != 30) w.check(k)->setChecked(false);
      for (size_t i = 1; i < r.size(); ++i) w.check(std::stoi(r[i]))->setChecked(true);
    } else if (r[0] == "key") {
      params().adjustKeys[std::stoul(r[1])] = r[2][0];
    } else if (r[0] == "keys") {  // as a DCI loaded meanwhile would
      params().adjustKeys = tavrin::ParameterSet{}.adjustKeys;
    } else if (r[0] == "spots") {
      params().spotCount[1] = std::stoi(r[1]);
    } else if (r[0] == "curves") {
      params().velocityCurveCount = std::stoi(r[1]);
    } else if (r[0] == "reshow") {
      w.showWindow();
    } else if (r[0] == "increments") {
      w.openIncrements();
    } else {
      WindowScript::special(r);
    }
  }
  std::string state() override {
    const tavrin::ParameterSet& p = params();
    std::string s = " keys " + std::string(p.adjustKeys.begin() + 1, p.adjustKeys.begin() + 36) + " adjusted";
    for (int16_t k : p.adjustedParams) s += " " + std::to_string(k);
    s += "\n  increments";
    for (size_t k = 1; k < p.increments.size(); ++k) s += " " + QString::number(p.increments[k]).toStdString();
    s += " " + p.x2Increment + "\n  red";
    for (QLabel* l : main->findChildren<QLabel*>())
      if (l->palette().color(QPalette::WindowText) == QColor(255, 0, 0)) s += " " + l->objectName().toStdString();
    return s;
  }
};

}  // namespace

TEST_F(AdjustWindow, Script) { runScript("win_adjust"); }
