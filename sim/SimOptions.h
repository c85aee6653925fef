// Everything a simulator run can be told, shared by the command line and by
// tests that run the simulator in-process. The fault switches sit apart: a
// connection reads them at each command.
#pragma once

#include <string>

#include "sim/Instrument.h"

namespace zrv::sim {

// Misbehaviours that let the controller's error handling be exercised. They
// bend replies only; the unasked e-mail notice is always a plain write of its
// own (except under `silent`, which sends nothing at all).
struct SimFaults {
  static constexpr int kSplitGapMs = 30;
  static constexpr int kJoinHoldMs = 1000;
  static constexpr char kGarbage[] = "#?garbage\r\n";

  int replyDelayMs = 0;   // hold every reply this long
  bool silent = false;    // never reply; commands are still executed and traced
  std::string mute = {};  // never reply to this one command
  bool split = false;     // every reply as two segments, splitGapMs apart
  int splitGapMs = kSplitGapMs;
  std::string lineEnd = "\r\n";  // how each reply line ends: CR LF, CR or LF
  bool join = false;             // hold a reply until the next one and write both at once;
                                 // a reply without a follower goes alone after kJoinHoldMs
  int closeAfter = 0;            // close the connection after this many replies; 0 = never
  bool garbage = false;          // reply kGarbage instead of the proper reply
};

struct SimOptions {
  InstrumentConfig instrument{};
  SimFaults faults{};
  int noticeDelayMs = 100;  // from a purity reply to the e-mail notice it triggers
  bool printTrace = false;  // one stdout line per command
};

}  // namespace zrv::sim
