// Address history files as an editor, a crash or a stray copy may leave
// them: arbitrary bytes in both files at start-up, then a Check that writes
// them back and a second start-up that must read back what was written.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "fuzz/FuzzTarget.h"
#include "tests/support/FakePorts.h"

using namespace zrv;
using namespace zrv::test;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string ipBytes = in.ConsumeRandomLengthString(size),
                    portBytes = in.ConsumeRemainingBytesAsString();
  WriteFileBytes(kIpHistoryFile, ipBytes);
  WriteFileBytes(kPortHistoryFile, portBytes);
  Rig first;
  Control ViewModel::*const fields[] = {&ViewModel::HostIPEdit, &ViewModel::HostPTEdit};
  // The six entries are the first six items of the file's last line (after a
  // final line end is dropped), or the whole line padded with empty ones; an
  // empty file or a line too long to cut leaves no list and the design text.
  for (Control ViewModel::*field : fields) {
    const Control& loaded = first.vm.*field;
    std::string bytes = field == fields[0] ? ipBytes : portBytes;
    const bool empty = bytes.empty();
    if (bytes.ends_with("\r\n")) bytes.pop_back();
    if (bytes.ends_with('\r') || bytes.ends_with('\n')) bytes.pop_back();
    const std::string line = bytes.substr(bytes.find_last_of("\r\n") + 1);
    Require(!loaded.list.empty() ||
                (loaded.text == (ViewModel().*field).text && (empty || line.size() > 32000)),
            "only an empty or huge file leaves the design text");
    std::string items;
    for (const std::string& e : loaded.list) items += e + ",";
    Require(loaded.list.empty() || (loaded.list.size() == 6 && loaded.text == loaded.list[0] &&
                                    std::count(items.begin(), items.end(), ',') == 6 &&
                                    (line.starts_with(items) ||
                                     (items.starts_with(line) &&
                                      items.find_first_not_of(',', line.size()) == items.npos))),
            "six entries, the first shown: the last line's first six items, without their commas");
  }

  // Check writes both files (the fake socket dials nothing) unless a port out
  // of range stops it first; what it wrote reads back.
  first.Run("HostIPEdit=127.0.0.1 check");
  const Texts& shown = first.messages.shown;
  Require(shown.empty() || shown[0].starts_with("Port number "), "only a bad port stops Check");
  if (!shown.empty()) return 0;
  Rig second;
  for (Control ViewModel::*field : fields) {
    std::vector<std::string> expected = (first.vm.*field).list;
    expected.resize(6);
    Require((second.vm.*field).list == expected, "a written history reads back as written");
  }
  Require(second.vm.HostIPEdit.text == "127.0.0.1", "the checked address comes first");
  return 0;
}
