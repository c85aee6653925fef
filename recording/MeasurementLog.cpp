// The measurement log: one line per record of a Continue run, the file
// holding only the current run. Every write opens and closes the file, so no
// handle is held between records and an operator may copy the file at any
// time. Nothing is ever lost without a word: a new start first keeps the
// last run in a file of its own, a record reaches the file whole or not at
// all, and records that cannot be written wait until the file can be.
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/SvZRV_02.h"

namespace zrv {
namespace {

namespace fs = std::filesystem;

// Runs that began in the same second get "-2", "-3", ... up to this many.
constexpr int kMaxKeptNamesPerSecond = 99;

// "yyyy/mm/dd hh:nn:ss" as "yyyymmdd-hhnnss", or empty when it is no stamp.
std::string StampForFileName(const std::string& line) {
  static constexpr char kShape[] = "dddd/dd/dd dd:dd:dd";
  if (line.size() < sizeof kShape - 1) return {};
  std::string digits;
  for (std::size_t i = 0; i + 1 < sizeof kShape; ++i) {
    const bool digit = line[i] >= '0' && line[i] <= '9';
    if (kShape[i] == 'd' ? !digit : line[i] != kShape[i]) return {};
    if (digit) digits += line[i];
  }
  return digits.substr(0, 8) + "-" + digits.substr(8);
}

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  std::getline(in, line);
  return line;
}

}  // namespace

void SvZRV_02::PrepareLogFile() {
  // The last run's records that never reached its file get a last chance.
  GiveUpHeldRecords();
  if (vm_.Txt_Save_File.text.empty()) {
    g_.LogEnabled = kFalse;
    return;
  }
  std::string directory = vm_.Dir1.text;
  if (directory.empty() || directory.back() != '/') directory += '/';
  g_.LogPath = directory + vm_.Txt_Save_File.text;
  if (!continueLog_) KeepPreviousRun();
  std::ofstream out(g_.LogPath,
                    std::ios::binary | (continueLog_ ? std::ios::app : std::ios::trunc));
  if (!out) throw FileError("Can't create " + g_.LogPath + ": " + std::strerror(errno));
}

void SvZRV_02::GiveUpHeldRecords() {
  if (g_.HeldRecords.empty() || WriteHeldRecords()) return;
  counters_.lostRecords += g_.HeldRecords.size();
  ports_.messages.Notify("Can't write log file !", std::to_string(g_.HeldRecords.size()) +
                                                       " records could not be written to " +
                                                       g_.LogPath +
                                                       " and are given up: " + logError_);
  g_.HeldRecords.clear();
  givenWay_ = 0;
}

void SvZRV_02::KeepPreviousRun() {
  std::error_code error;
  // Only a file with records needs keeping; a device such as /dev/null has none.
  if (!fs::is_regular_file(g_.LogPath, error) || fs::file_size(g_.LogPath, error) == 0 || error)
    return;
  // A log that is a symbolic link stays one: the file it points to is kept
  // beside itself, and the new run's records go through the link again.
  const fs::path log = fs::canonical(g_.LogPath, error);
  std::string began = StampForFileName(FirstLine(log));
  if (began.empty()) began = StampForFileName(ports_.clock.Stamp());
  if (began.empty()) began = "undated";
  const std::string stem = log.stem().string() + "_" + began;
  fs::path kept;
  for (int n = 1; n <= kMaxKeptNamesPerSecond && !error; ++n) {
    std::string name = stem;  // appended to, never prefixed: g++ 12 -O3 misreads a prefix
    if (n > 1) (name += '-') += std::to_string(n);
    kept = log.parent_path() / (name + log.extension().string());
    if (!fs::exists(kept, error)) break;
  }
  // A rename onto a name in use would replace a run kept before.
  if (!error && fs::exists(kept, error)) error = std::make_error_code(std::errc::file_exists);
  if (!error) fs::rename(log, kept, error);
  if (error || fs::exists(log, error)) {
    throw FileError("The last run in " + log.string() + " cannot be kept as " +
                    kept.filename().string() + ": the folder " + log.parent_path().string() +
                    " does not take it (" + error.message() + ")");
  }
}

void SvZRV_02::AppendLogLine(const std::string& recordText, const std::string& recordTime) {
  if (g_.MeasureMode != kTrue || g_.LogEnabled != kTrue) return;
  if (g_.HeldRecords.size() == kMaxHeldRecords) {
    g_.HeldRecords.pop_front();
    ++counters_.lostRecords;
    if (++givenWay_ == 1) {
      ports_.messages.Notify("Can't write log file !",
                             g_.LogPath + ": " + logError_ + "; " +
                                 std::to_string(kMaxHeldRecords) +
                                 " records wait, the most that are held: from now on the oldest "
                                 "gives way to each new one");
    }
  }
  g_.HeldRecords.push_back(recordTime + " " + recordText);
  // A lost record must not stop the run; each outage is reported once.
  if (!WriteHeldRecords()) {
    g_.LogWriteFailed = kTrue;
    ++counters_.failedLogAppends;
  }
}

// Writes the held records in order, each whole or not at all; true once none is left.
bool SvZRV_02::WriteHeldRecords() {
  std::error_code error;
  std::uintmax_t length = fs::exists(g_.LogPath, error) ? fs::file_size(g_.LogPath, error) : 0;
  if (error) length = 0;
  std::ofstream out(g_.LogPath, std::ios::binary | std::ios::app);
  while (out && !g_.HeldRecords.empty()) {
    const std::string& line = g_.HeldRecords.front();
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.flush();
    if (!out) break;
    length += line.size();
    g_.HeldRecords.pop_front();
  }
  if (!out) logError_ = std::strerror(errno);
  if (!out && fs::is_regular_file(g_.LogPath, error)) {
    // A short write, on a full disk say, is cut off so that the next record
    // starts a line of its own.
    out.close();
    fs::resize_file(g_.LogPath, length, error);
  }
  if (!g_.HeldRecords.empty()) return false;
  g_.LogWriteFailed = kFalse;
  g_.LogFailureReported = kFalse;
  givenWay_ = 0;
  return true;
}

void SvZRV_02::ReportLogOutage() {
  if (g_.LogWriteFailed != kTrue || g_.LogFailureReported == kTrue) return;
  g_.LogFailureReported = kTrue;
  ports_.messages.Notify("Can't write log file !", g_.LogPath + ": " + logError_ + "; " +
                                                       "records waiting to be written: " +
                                                       std::to_string(g_.HeldRecords.size()));
}

void SvZRV_02::Drive1_Change() {
  const std::string& root = vm_.Drive1.text;
  if (!ports_.directories.IsDirectory(root)) {
    ports_.messages.Show("Wrong drive !", root + " is not a directory");
    return;
  }
  vm_.Dir1.text = root;
}

}  // namespace zrv
