#include "ReportGuard.h"

#include <QDir>
#include <QFileInfo>

#include "RunCommands.h"
#include "frmMain.h"
#include "shell/app_state.h"

namespace {

// The same file however it is spelled: the folder resolved (links, "..",
// native separators), the name as is, since the report may not exist yet.
QString fileKey(const std::string& path) {
  const QFileInfo fi(QDir::fromNativeSeparators(QString::fromStdString(path)));
  const QString folder = QFileInfo(fi.absolutePath()).canonicalFilePath();
  return (folder.isEmpty() ? QDir::cleanPath(fi.absolutePath()) : folder) + "/" + fi.fileName();
}

}  // namespace

namespace reportguard {

bool refuseWhileWritten(frmMain& main, const std::string& folder, const std::string& name) {
  if (name.empty()) return false;
  const QString key = fileKey(tavrin::joinPath(folder, name));
  for (const auto& [program, output] : runcommands::reportsBeingWritten(main)) {
    if (fileKey(output) != key) continue;
    main.showMessage(QString("%1 is still running: wait for it to end before reading %2")
                         .arg(program, QString::fromStdString(name)));
    return true;
  }
  return false;
}

}  // namespace reportguard
