// Address history files as an editor, a crash or a stray copy may leave
// them: arbitrary bytes in both files at start-up, then a Check that writes
// them back and a second start-up that must read back what was written.
// MojiCut is fed arbitrary text from arbitrary start positions.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/FakePorts.h"
#include "tests/support/TempWorkDir.h"

namespace zrv::test {
namespace {

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// The last line of the file: after the last line end, once a final line end
// is dropped.
std::string LastLine(std::string bytes) {
  if (bytes.ends_with("\r\n")) {
    bytes.resize(bytes.size() - 2);
  } else if (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) {
    bytes.pop_back();
  }
  const std::size_t end = bytes.find_last_of("\r\n");
  return end == std::string::npos ? bytes : bytes.substr(end + 1);
}

void CheckLoaded(const Control& field, const std::string& bytes, const std::string& designText) {
  if (field.list.empty()) {
    Require(field.text == designText, "no list: the design text stays");
    Require(bytes.empty() || LastLine(bytes).size() > 32000,
            "only an empty or huge file is skipped");
    return;
  }
  Require(field.list.size() == 6 && field.text == field.list[0], "six entries, text = first");
  // The six items, each with its ",", are the start of the last line; or,
  // when it has fewer, the line followed by the missing ","s only.
  std::string items;
  for (const std::string& e : field.list) {
    Require(e.find_first_of(",\r\n") == std::string::npos, "an entry holds no , CR or LF");
    items += e + ",";
  }
  const std::string line = LastLine(bytes);
  const bool shortLine =
      items.starts_with(line) && items.find_first_not_of(',', line.size()) == std::string::npos;
  Require(line.starts_with(items) || shortLine, "entries are the last line's first six items");
}

void CheckMojiCut(SvZRV_02& w, const std::string& text, std::int16_t start) {
  std::int16_t Mojist = start;
  const std::string item = w.MojiCut(text, Mojist);
  Require(item.find(',') == std::string::npos, "an item holds no ,");
  Require(text.compare(start - 1, item.size(), item) == 0, "the item is the text at the start");
  Require(Mojist == start + static_cast<int>(item.size()) + 1, "Mojist one past the item's ,");
  Require(static_cast<std::size_t>(Mojist) > text.size() + 1 || text[Mojist - 2] == ',',
          "the item ends at a , or at the end of the text");
}

}  // namespace
}  // namespace zrv::test

using namespace zrv;
using namespace zrv::test;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  EnterTempWorkDir();
  return 0;
}

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
  if (text.size() < 30000) {
    for (std::size_t start = 1; start <= text.size() + 1; start += 1 + start / 8) {
      CheckMojiCut(first.w, text, static_cast<std::int16_t>(start));
    }
  }

  // Check writes both files (the fake socket dials nothing); they read back.
  // A port out of range stops the check before it writes anything.
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
