// The observed-data and misc. parameter windows driven by
// golden/win_datafile.tsv, and a whole DC model built in the editor windows
// (golden/win_model_build.tsv), saved and read back. After each step the
// boxes that hold text, the stored curves and the misc. parameters go to the
// transcript.
#include <QTemporaryDir>

#include "EditorWindows.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "shell/app_state.h"
#include "win_support.h"

namespace {

class DataFileWindow : public win::WindowScript {
 protected:
  DataFileWindow() { root = dir.path(); }
  void special(const std::vector<std::string>& r) override {
    if (r[0] == "choose") {  // choose NAME in FOLDER (default: the temporary folder)
      win::choose(*main, QString::fromStdString(r[1]), r.size() > 2 ? win::kExamples : dir.path());
    } else if (r[0] == "file") {  // file NAME TEXT, \n for line ends
      win::writeFile(dir.filePath(QString::fromStdString(r[1])), QString::fromStdString(r[2]).replace("\\n", "\r\n").toUtf8());
    } else if (r[0] == "curve") {
      main->session().currentCurve = std::stoi(r[1]);
      main->fileDialog().open(FileOp::LoadDcData, "Load D data", {"*.csv"});
    } else if (r[0] == "paste") {  // the whole text at once
      find<QLineEdit>(r[1])->setText(QString::fromStdString(r[2]));
    } else if (r[0] == "save") {
      main->fileDialog().open(FileOp::SaveDci, "Save DCI", {"*.dci", "*.*"});
      win::choose(*main, "built.dci", dir.path());
    } else {
      WindowScript::special(r);
    }
  }
  std::string state() override {
    const tavrin::ParameterSet& p = params();
    QString s = QString(" curves %1 IFVC %2 %3 NLC %4 misc IFDER %5 XLAMDA %6 KO %7 KDISK %8 NPPL %9")
                    .arg(p.velocityCurveCount).arg(p.IFVC1).arg(p.IFVC2).arg(p.NLC).arg(p.IFDER).arg(p.XLAMDA)
                    .arg(p.KO).arg(p.KDISK).arg(p.NPPL);
    for (int i = 1; i <= 7; ++i)
      if (const tavrin::CurveRow& c = p.curves[i]; !(c == tavrin::CurveRow{})) {
        s += QString("\n  row %1 [%2] band %3 wavel %4 L %5 %6 x %7 %8 y %9 %10")
                 .arg(i).arg(QString::fromStdString(c.dataFile)).arg(c.band).arg(c.wavel).arg(c.l1).arg(c.l2)
                 .arg(c.x1).arg(c.x2).arg(c.y1).arg(c.y2) +
             QString(" sigma %1 noise %2 el3 %3 points %4").arg(c.sigma).arg(c.noise).arg(c.el3).arg(c.points.size());
        for (size_t k = 0; k < std::min<size_t>(3, c.points.size()); ++k)
          s += QString(" (%1 %2 %3)").arg(c.points[k].time).arg(c.points[k].value).arg(c.points[k].weight);
      }
    s += "\n  boxes";
    for (QLineEdit* e : window->findChildren<QLineEdit*>())
      if (!e->text().isEmpty()) s += " " + e->objectName() + "=[" + e->text() + "]";
    frmIO_all& d = main->fileDialog();
    if (d.isVisible()) s += QString("\n  dialog %1 %2").arg(static_cast<int>(d.op())).arg(d.windowTitle());
    return s.toStdString();
  }
  QTemporaryDir dir;
};

}  // namespace

TEST_F(DataFileWindow, Script) { runScript("win_datafile"); }

TEST_F(DataFileWindow, ModelBuiltInTheWindowsIsWhatTheFileHolds) {
  runScript("win_model_build");
  const std::string path = tavrin::joinPath(dir.path().toStdString(), "built.dci");
  const std::string text = tavrin::testing_support::slurp(path);
  win::expectGolden("gui", "win_model_build.dci", text);
  const tavrin::ParameterSet back = tavrin::readDci(path, tavrin::ParameterSet{}, tavrin::probeDci(path)).params;
  win::expectGolden("gui", "win_model_build_read.dci", tavrin::dciText(back));
}
