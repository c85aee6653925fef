// The main window's logic: every event handler of the controller, the
// module procedures that reach the window's controls (OpenLink, SendCommand,
// HaltPolling, AppendLogLine) and the item cutter MojiCut.
//
// The handlers are the system's own vocabulary and keep their names. Their
// bodies live with their subsystem: app/ (start-up, history, key filters),
// link/ (link, runs, scheduler, replies), recording/, alarm/, settings/.
// Handlers run one at a time and to completion; they talk to each other only
// through the controller state and the view model.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <string>

#include "core/HandlerError.h"
#include "core/Ports.h"
#include "core/RunCounters.h"
#include "core/SvGlobal01B.h"
#include "core/ViewModel.h"

namespace zrv {

constexpr const char* kIpHistoryFile = "ZRV-02_IPAddressList.Log";
constexpr const char* kPortHistoryFile = "ZRV-02_PortList.Log";

class SvZRV_02 {
 public:
  // Creates the window with its design-time properties; Form_Load follows.
  explicit SvZRV_02(const Ports& ports);

  SvGlobal01B& State() { return g_; }
  const SvGlobal01B& State() const { return g_; }
  ViewModel& View() { return vm_; }
  const RunCounters& Counters() const { return counters_; }
  // For unattended logging: a start appends to the log it finds, byte for
  // byte after what is there, instead of keeping the last run aside.
  void ContinueLogAcrossStarts() { continueLog_ = true; }

  // Runs one event handler. An error that escapes it is shown to the operator
  // and the program goes on; the handler stops where the error was raised.
  template <typename Handler>
  void RunHandler(Handler&& handler) {
    try {
      handler();
    } catch (const std::exception& e) {
      ports_.messages.Show(e.what(), "");
    }
  }

  // Start-up and shut-down
  void Form_Load();
  void Form_QueryUnload();
  std::string MojiCut(const std::string& Readtext, std::int16_t& Mojist);
  void LoadHostHistory(Control& field, const std::string& fileName);
  void UpdateHostHistory(Control& field, const std::string& fileName);

  // Entry filters
  void Txt_Interval_KeyPress(std::int16_t& KeyAscii);
  void Txt_Alarm_level_KeyPress(std::int16_t& KeyAscii);
  void HostIPEdit_KeyPress(std::int16_t& KeyAscii);
  void HostPTEdit_KeyPress(std::int16_t& KeyAscii);

  // Link and command transmission
  void OpenLink();
  // True when the command was handed to the socket; each of its lines is then
  // owed one reply of the kind `answers`.
  bool SendCommand(const std::string& command, Awaited answers);
  void HaltPolling();

  // Run control
  void start_Click();
  void stop_Click();
  void Continue_mode_Click();
  void Single_mode_Click();

  // Poll scheduler and reply interpreter
  void Timer1_Timer();
  void tcpclient_DataArrival(std::int32_t bytesTotal);
  // The instrument closed or reset the connection.
  void tcpclient_Close();

  // Recording
  void AppendLogLine(const std::string& recordText, const std::string& recordTime);
  void clear_Click();
  void Drive1_Change();

  // Purity alarm
  void Timer2_Timer();

  // Instrument settings
  void Version_Check_Click();
  void EMail_Click();
  void EMail_Pramset_Click();

 private:
  // One row of the tick's choice: when it is due, and what the tick then
  // does. `holdsSlot` marks a command that waits for its tick in
  // PendingCommand, which no click may take from it.
  struct TickRow {
    bool (*due)(const SvGlobal01B& g);
    void (SvZRV_02::*serve)();
    bool holdsSlot;
  };
  static const std::array<TickRow, 8> kTickRows;
  // A command waits for its tick, or a run is going.
  bool CommandWaits() const;
  static bool ReadoutQueryDue(const SvGlobal01B& g);
  void SendVersionQuery();
  void SendReadoutQuery();
  void SendEmailSwitch();
  void SendParamSet();
  void SendSingleCommand();
  // Nothing left to send: the link is let go once no measurement reply is owed.
  void LetTheLinkGo();
  void AwaitEmailState();

  void FilterNumericKey(std::int16_t& KeyAscii, bool allowPoint);
  void StartLinkTimer();
  void PollCycle();
  void WaitStep();
  // Gives up the pair under way and asks again on a new connection.
  void GiveUpPair();
  void IdleStop();
  // A new connection, or none: the replies owed on the old one never come.
  void ConnectSocket();
  void CloseSocket();
  // "host:port" of the link, for the operator.
  std::string LinkName() const;
  enum class ReplyWait { kAnswered, kWaiting, kTimedOut };
  // A measurement reply is the oldest still owed.
  bool MeasurementOwed() const;
  // Counts one tick of waiting for the owed replies; a time-out forgets them.
  ReplyWait WaitForOwedReplies();
  void TakePurityReply(const std::string& reply);
  void TakeTemperatureReply(const std::string& reply);
  // A reply that cannot be the one owed in the pair.
  void RefusePairReply(const std::string& reply);
  // "###.#%", "##.#%" or "#.#%" followed by CR LF.
  static bool HasPurityShape(const std::string& reply);
  void EvaluatePurityAlarm(const std::string& purityReply);
  // A record line in the history and, for measurements and notices, the
  // log; returns its time stamp.
  std::string FormRecord(const std::string& text, bool logged);
  void PrepareLogFile();
  // Held records get one last try; those that still cannot be written are
  // given up, counted and reported.
  void GiveUpHeldRecords();
  void KeepPreviousRun();
  bool WriteHeldRecords();
  void ReportLogOutage();
  void AppendHistory(const std::string& line);
  void AdvanceHistory();
  void VersionReply(const std::string& reply);
  void ReadoutReply(Awaited setting, const std::string& reply);
  void ShowEmailState(bool on);
  // Ends a read-out that the link cut off; Check then reads the settings again.
  void AbandonReadout();
  // Raises requestFlag and opens the link, unless another command holds the slot.
  bool OpenLinkForSettingsCommand(std::int16_t& requestFlag);
  void EnableModeFields(bool single);

  Ports ports_;
  SvGlobal01B g_;
  ViewModel vm_;
  RunCounters counters_;
  // Why the log could not be written last, for the operator.
  std::string logError_;
  // Held records that gave way to newer ones in this outage.
  std::size_t givenWay_ = 0;
  bool continueLog_ = false;
};

}  // namespace zrv
