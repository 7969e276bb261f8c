// The Spots window driven by golden/win_spots.tsv: after each step the
// counts, Spot A/B, the stored spots, the rows shown and the tinted boxes go
// to the transcript. The caption help is in main_help.txt; the help page below.
#include <QMouseEvent>

#include "EditorWindows.h"
#include "frmSpots.h"
#include "win_support.h"

namespace {

class SpotsWindow : public win::WindowScript {
 protected:
  void special(const std::vector<std::string>& r) override {
    auto n = [&](size_t i) { return std::stoi(r[i]); };
    if (r[0] == "count") params().spotCount[n(1)] = static_cast<int16_t>(n(2));
    else if (r[0] == "spot")  // spot STAR N lat long radius factor; angles in radians, "90d" in degrees
      params().spots[n(1)][n(2)] = {angle(r[3]), angle(r[4]), angle(r[5]), std::stod(r[6])};
    else if (r[0] == "spotA") params().spotAStar = n(1), params().spotANumber = n(2);
    else if (r[0] == "key") params().adjustKeys[n(1)] = r[2][0];
    else if (r[0] == "lc") main->setProgramMode(tavrin::ProgramMode::LC);
    else if (r[0] == "hide") window->hide();
    else WindowScript::special(r);
  }
  static double angle(const std::string& s) {
    return s.back() == 'd' ? std::stod(s) / tavrin::DEG_PER_RAD : std::stod(s);
  }
  std::string state() override {
    const tavrin::ParameterSet& p = params();
    QString s = QString(" counts %1 %2 total %3 A %4.%5 B %6.%7\n  rows shown")
                    .arg(p.spotCount[1]).arg(p.spotCount[2]).arg(p.totalSpotCount)
                    .arg(p.spotAStar).arg(p.spotANumber).arg(p.spotBStar).arg(p.spotBNumber);
    for (int star : {1, 2}) {
      int rows = 0;
      while (auto* e = window->findChild<QLineEdit*>(QString("Text%1_%2").arg(star * 4 - 3).arg(rows + 1)))
        if (e->isVisibleTo(window)) ++rows; else break;
      s += QString(" %1").arg(rows);
    }
    s += "\n  spots";
    for (int star : {1, 2})
      for (int i = 1; i <= tavrin::kMaxSpotsPerStar; ++i)
        if (const tavrin::Spot& x = p.spots[star][i]; x.xlat || x.xlong || x.radsp || x.temsp)
          s += QString(" %1.%2=%3,%4,%5,%6").arg(star).arg(i).arg(x.xlat, 0, 'g', 8).arg(x.xlong, 0, 'g', 8)
                   .arg(x.radsp, 0, 'g', 8).arg(x.temsp, 0, 'g', 8);
    s += "\n  tinted";
    for (QLineEdit* e : window->findChildren<QLineEdit*>())
      if (QColor c = e->palette().color(QPalette::Base); c != Qt::white) s += " " + e->objectName() + ":" + c.name();
    return s.toStdString();
  }
};

}  // namespace

TEST_F(SpotsWindow, Script) { runScript("win_spots"); }

TEST_F(SpotsWindow, HelpPage) {
  QString title;
  QStringList paragraphs;
  frmSpots::setHelpPageOpener([&](const QString& t, const QStringList& p) { title = t, paragraphs = p; });
  frmSpots& w = open<frmSpots>("Spots", "frmSpots");
  w.findChild<QAction*>("spotsHelp")->trigger();
  frmSpots::setHelpPageOpener({});
  EXPECT_EQ(title, "Help - Spots");
  EXPECT_TRUE(paragraphs.join(" ").contains("Spot B entries are ignored"));
  w.findChild<QAction*>("spotsHelp")->trigger();
  auto* page = w.findChild<QDialog*>("frmSpotsHelpPage");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->windowTitle(), "Help - Spots");
}
