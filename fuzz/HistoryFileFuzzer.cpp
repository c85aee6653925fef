// Address history files as an editor, a crash or a stray copy may leave
// them: arbitrary bytes in both files at start-up, then a Check that writes
// them back and a second start-up that must read back what was written.
// MojiCut is fed arbitrary text from arbitrary start positions.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/Require.h"
#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

// The six entries are the first six items of the file's last line (after a
// final line end is dropped), or the whole line padded with empty ones; an
// empty file or a line too long to cut leaves no list and the design text.
void CheckLoaded(const Control& field, std::string bytes, const std::string& designText) {
  const bool empty = bytes.empty();
  if (bytes.ends_with("\r\n")) bytes.pop_back();
  if (bytes.ends_with('\r') || bytes.ends_with('\n')) bytes.pop_back();
  const std::string line = bytes.substr(bytes.find_last_of("\r\n") + 1);
  if (field.list.empty())
    return Require(field.text == designText && (empty || line.size() > 32000),
                   "only an empty or huge file leaves the design text");
  Require(field.list.size() == 6 && field.text == field.list[0], "six entries, text = first");
  std::string items;
  for (const std::string& e : field.list) {
    Require(e.find_first_of(",\r\n") == std::string::npos, "an entry holds no , CR or LF");
    items += e + ",";
  }
  Require(line.starts_with(items) ||
              (items.starts_with(line) && items.find_first_not_of(',', line.size()) == items.npos),
          "entries are the last line's first six items");
}

void CheckMojiCut(SvZRV_02& w, const std::string& text, std::int16_t start) {
  std::int16_t Mojist = start;
  const std::string item = w.MojiCut(text, Mojist);
  Require(item.find(',') == std::string::npos && text.compare(start - 1, item.size(), item) == 0,
          "the item is the text at the start up to a ,");
  Require(Mojist == start + static_cast<int>(item.size()) + 1 &&
              (static_cast<std::size_t>(Mojist) > text.size() + 1 || text[Mojist - 2] == ','),
          "Mojist one past the item's , or the end of the text");
}

}  // namespace
}  // namespace zrv::test

using namespace zrv;
using namespace zrv::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string ipBytes = in.ConsumeRandomLengthString(size);
  const std::string portBytes = in.ConsumeRandomLengthString(size);
  WriteFileBytes(kIpHistoryFile, ipBytes);
  WriteFileBytes(kPortHistoryFile, portBytes);
  Rig first;
  const ViewModel design;
  CheckLoaded(first.vm.HostIPEdit, ipBytes, design.HostIPEdit.text);
  CheckLoaded(first.vm.HostPTEdit, portBytes, design.HostPTEdit.text);
  const std::string text = in.ConsumeRemainingBytesAsString();
  for (std::size_t start = 1; text.size() < 30000 && start <= text.size() + 1;
       start += 1 + start / 8)
    CheckMojiCut(first.w, text, static_cast<std::int16_t>(start));

  // Check writes both files (the fake socket dials nothing) unless a port out
  // of range stops it first; what it wrote reads back.
  first.vm.HostIPEdit.text = "127.0.0.1";
  first.w.RunHandler([&] { first.w.Version_Check_Click(); });
  if (!first.messages.shown.empty()) {
    Require(first.messages.shown[0].starts_with("Port number "), "only a bad port stops Check");
    return 0;
  }
  Rig second;
  for (auto [written, read] : {std::pair{&first.vm.HostIPEdit, &second.vm.HostIPEdit},
                               std::pair{&first.vm.HostPTEdit, &second.vm.HostPTEdit}}) {
    std::vector<std::string> expected = written->list;
    expected.resize(6);
    Require(read->list == expected, "a written history reads back as written");
  }
  Require(second.vm.HostIPEdit.text == "127.0.0.1", "the checked address comes first");
  return 0;
}
