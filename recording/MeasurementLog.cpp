// The measurement log: one line per record of a Continue run, the file
// emptied at each start. Every write opens and closes the file, so no handle
// is held between records and an operator may copy the file at any time.
#include <fstream>

#include "app/SvZRV_02.h"

namespace zrv {

void SvZRV_02::PrepareLogFile() {
  if (vm_.Txt_Save_File.text.empty()) {
    g_.LogEnabled = kFalse;
    return;
  }
  std::string directory = vm_.Dir1.text;
  if (directory.empty() || directory.back() != '/') directory += '/';
  g_.LogPath = directory + vm_.Txt_Save_File.text;
  std::ofstream out(g_.LogPath, std::ios::binary | std::ios::trunc);
  if (!out) throw FileError("Can't create " + g_.LogPath);
}

void SvZRV_02::AppendLogLine(const std::string& recordText, const std::string& recordTime) {
  if (g_.MeasureMode != kTrue || g_.LogEnabled != kTrue) return;
  std::ofstream out(g_.LogPath, std::ios::binary | std::ios::app);
  out << recordTime << ' ' << recordText;
  out.close();
  // A lost record must not stop the run; the operator is told once per run.
  if (!out) g_.LogWriteFailed = kTrue;
  if (!out) ++counters_.failed_log_appends;
}

void SvZRV_02::Drive1_Change() {
  const std::string& root = vm_.Drive1.text;
  if (!ports_.directories.IsDirectory(root)) {
    ports_.messages.Show("Wrong drive !");
    return;
  }
  vm_.Dir1.text = root;
}

}  // namespace zrv
