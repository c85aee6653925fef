// The link to the instrument: opening it, handing a command to the socket
// and bringing everything back to idle after a failure.
#include "core/CheckedMath.h"
#include "core/Commands.h"
#include "core/NumberReading.h"
#include "core/SvZRV_02.h"

namespace zrv {
namespace {

// Each command of a transmission ends in CR LF and earns one reply.
std::int16_t CommandsIn(const std::string& transmission) {
  std::int16_t commands = 0;
  for (std::size_t at = transmission.find(kCrLf); at != std::string::npos;
       at = transmission.find(kCrLf, at + 2)) {
    commands = Inc16(commands);
  }
  return commands;
}

}  // namespace

void SvZRV_02::OpenLink() {
  g_.HostAddress = vm_.HostIPEdit.text;
  try {
    g_.HostPort = LenientInt16(vm_.HostPTEdit.text);
  } catch (const OverflowError&) {
    throw OverflowError("Port number " + vm_.HostPTEdit.text + " is out of range.");
  }
  ports_.tcpclient.SetRemoteHost(g_.HostAddress);
  ports_.tcpclient.SetRemotePort(static_cast<std::int32_t>(g_.HostPort));
  ConnectSocket();
  g_.LinkOpen = kTrue;
}

std::string SvZRV_02::LinkName() const {
  return g_.HostAddress + ":" + std::to_string(g_.HostPort);
}

void SvZRV_02::ConnectSocket() {
  g_.Owed.Forget();
  ports_.tcpclient.Connect();
}

void SvZRV_02::CloseSocket() {
  g_.Owed.Forget();
  ports_.tcpclient.Close();
}

bool SvZRV_02::SendCommand(const std::string& command, Awaited answers) {
  int number = 0;
  std::string reason;
  try {
    ports_.tcpclient.SendData(command);
    g_.SendRetries = 0;
    g_.SendFailed = kFalse;
    vm_.TCP_Condition.backColor = kLightOrange;
    g_.Owed.Push(answers, CommandsIn(command));
    g_.ReplyDueTicks = 0;
    return true;
  } catch (const SocketError& e) {
    number = e.Number();
    reason = e.what();
  } catch (const std::exception& e) {
    number = -1;
    reason = e.what();
  }

  // Only the queries of an active Continue run are retried in silence: the
  // connect issued a moment ago may not have completed yet, or the
  // instrument dropped the link between two replies, and the scheduler
  // reconnects and starts the pair again on the next tick. Anything else
  // that fails is reported, so no command is ever dropped without a word.
  const bool pollRetry = g_.MeasureMode == kTrue && g_.ContinuousRun == kTrue &&
                         (g_.PollPhase == kPurityDue || g_.PollPhase == kTempDue) &&
                         number == kNotConnected;
  if (pollRetry) {
    g_.TickCount = Dec32(g_.TickCount);
    g_.SendRetries = Inc16(g_.SendRetries);
    g_.SendFailed = kTrue;
    CloseSocket();
    if (g_.SendRetries != kSilentRetries) return false;
  }
  ports_.messages.Show("Can't connected !", LinkName() + ": " + reason);
  CloseSocket();
  HaltPolling();
  return false;
}

void SvZRV_02::tcpclient_Close() {
  // Nothing owed on the closed connection can come any more. A pair under
  // way is asked again on a new one at once instead of waited for: this is a
  // fault of the link, not of an instrument that does not answer. An
  // instrument that drops every connection still ends the run.
  const bool pairLost = g_.ContinuousRun == kTrue && MeasurementOwed();
  CloseSocket();
  g_.LinkOpen = kFalse;
  vm_.TCP_Condition.backColor = kWhite;
  if (!pairLost) return;
  g_.LinkDrops = Inc16(g_.LinkDrops);
  if (g_.LinkDrops == kDropsPerRun) {
    g_.LinkDrops = 0;
    ports_.messages.Show("Can't connected !",
                         LinkName() + ": the instrument closed the connection " +
                             std::to_string(kDropsPerRun) + " times in a row before answering");
    HaltPolling();
    return;
  }
  GiveUpPair();
}

void SvZRV_02::HaltPolling() {
  ports_.Timer1.SetEnabled(false);
  g_.LinkOpen = kFalse;
  vm_.TCP_Condition.backColor = kWhite;
  g_.SingleCommandPending = kFalse;
  g_.ContinuousRun = kFalse;
  g_.SendRetries = 0;
  g_.SendFailed = kFalse;
  // The link is closed: nothing more can come.
  g_.Owed.Forget();
  if (g_.VersionPending == 0) vm_.start.enabled = true;
}

}  // namespace zrv
