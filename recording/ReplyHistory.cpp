// The reply history: the last 100 record lines, oldest first, shown in
// TxtBox_Reply. While filling, a line is appended at the box's end; once
// full, every record shifts the slots and rebuilds the box.
#include "core/CheckedMath.h"
#include "core/SvZRV_02.h"

namespace zrv {
namespace {

void InsertAtEnd(Control& box, const std::string& line) {
  box.selStart = box.text.size();
  box.text.insert(box.selStart, line);
  box.selStart += line.size();
}

}  // namespace

void SvZRV_02::AppendHistory(const std::string& line) {
  Control& box = vm_.TxtBox_Reply;
  if (g_.HistoryFull != kTrue) {
    g_.HistoryLines[g_.HistoryCount] = line;
    InsertAtEnd(box, line);
    return;
  }
  for (int i = 0; i < g_.HistoryCount; ++i) g_.HistoryLines[i] = g_.HistoryLines[i + 1];
  g_.HistoryLines[kLastHistorySlot] = line;
  box.text.clear();
  for (int i = 0; i < g_.HistoryCount; ++i) box.text += g_.HistoryLines[i];
  InsertAtEnd(box, g_.HistoryLines[kLastHistorySlot]);
}

void SvZRV_02::AdvanceHistory() {
  if (g_.HistoryFull == kTrue) return;
  if (g_.HistoryCount == kLastHistorySlot) {
    g_.HistoryFull = kTrue;
  } else {
    g_.HistoryCount = Inc16(g_.HistoryCount);
  }
}

void SvZRV_02::clear_Click() {
  vm_.TxtBox_Reply.text.clear();
  vm_.TxtBox_Reply.selStart = 0;
  g_.HistoryCount = 0;
  g_.HistoryFull = kFalse;
  for (std::string& slot : g_.HistoryLines) slot.clear();
}

}  // namespace zrv
