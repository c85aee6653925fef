// Window load and close, and the host address history: two one-line files
// in the working directory that remember the last six addresses and ports
// used for a version check.
#include <filesystem>
#include <fstream>
#include <optional>

#include "core/CheckedMath.h"
#include "core/SvZRV_02.h"

namespace zrv {
namespace {

constexpr int kHistoryItems = 6;

// The last line of a text file without its line end; none when the file is
// missing, unreadable or holds no line at all. CR LF, LF and CR end a line.
std::optional<std::string> LastLine(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return std::nullopt;
  std::optional<std::string> last;
  std::string line;
  bool inLine = false;
  char c;
  while (in.get(c)) {
    if (c == '\r' || c == '\n') {
      if (c == '\r' && in.peek() == '\n') in.get();
      last = line;
      line.clear();
      inLine = false;
    } else {
      line += c;
      inLine = true;
    }
  }
  if (inLine) last = line;
  return last;
}

}  // namespace

void SvZRV_02::Form_Load() {
  g_.HistoryCount = 0;
  g_.HistoryFull = kFalse;
  for (std::string& slot : g_.HistoryLines) slot.clear();
  LoadHostHistory(vm_.HostIPEdit, kIpHistoryFile);
  LoadHostHistory(vm_.HostPTEdit, kPortHistoryFile);
  g_.VersionPending = 1;
  g_.ReadoutStep = kReadoutIdle;
}

void SvZRV_02::Form_QueryUnload() {
  CloseSocket();
  GiveUpHeldRecords();
}

std::string SvZRV_02::MojiCut(const std::string& Readtext, std::int16_t& Mojist) {
  if (Mojist < 1) throw HandlerError("Invalid procedure call or argument");
  std::string buffer;
  std::int16_t n = 0;
  Mojist = Dec16(Mojist);
  for (;;) {
    n = Inc16(n);
    Mojist = Inc16(Mojist);
    // No "," follows: the item is the rest of the text.
    if (static_cast<std::size_t>(Mojist) > Readtext.size()) break;
    const char c = Readtext[Mojist - 1];
    buffer += c;
    if (c == ',') break;
  }
  Mojist = Inc16(Mojist);
  return buffer.substr(0, static_cast<std::size_t>(n - 1));
}

void SvZRV_02::LoadHostHistory(Control& field, const std::string& fileName) {
  // A missing or empty file leaves the design text and an empty list: the
  // operator types an address and the first check writes the file.
  const std::optional<std::string> text = LastLine(fileName);
  if (!text) return;
  std::vector<std::string> entries;
  try {
    std::int16_t Mojist = 1;
    for (int k = 0; k < kHistoryItems; ++k) entries.push_back(MojiCut(*text, Mojist));
  } catch (const HandlerError&) {
    // A hand-edited line too long to cut: start as if there were no file.
    return;
  }
  field.list = std::move(entries);
  field.text = field.list.front();
}

void SvZRV_02::UpdateHostHistory(Control& field, const std::string& fileName) {
  const std::string s = field.text;
  auto& list = field.list;
  for (std::size_t i = 0; i < kHistoryItems && i < list.size(); ++i) {
    if (list[i] == field.text) {
      list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
      field.text = s;
      break;
    }
  }
  if (!s.empty()) list.insert(list.begin(), s);
  if (list.size() >= kHistoryItems) list.erase(list.begin() + (kHistoryItems - 1));

  std::string line;
  for (std::size_t i = 0; i < kHistoryItems; ++i) {
    if (i < list.size()) line += list[i];
    line += ',';
  }
  line += "\r\n";

  // Written beside the old file and renamed over it, so a crash or a full
  // disk never leaves a half-written history.
  const std::string temporary = fileName + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << line;
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      throw FileError("Can't write " + fileName + " !");
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, fileName, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    throw FileError("Can't write " + fileName + " !");
  }
}

}  // namespace zrv
