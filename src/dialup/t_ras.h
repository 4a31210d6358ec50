#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/message_pump.h"
#include "platform/ras.h"

namespace velkora {

// The dial-up component: the active connection's name, hanging up with a
// wait until the platform has let the connection go, and the texts of
// connection states and error codes. The main window owns one (`Ras`).
//
// It binds the dial-up library at its first operation that needs it (once;
// a failure is not retried) and never raises: every operation answers with
// a result code, which it also leaves in LastError. Without dial-up
// networking every operation fails softly with kRasErrorNotAvailable.
//
// Single-threaded. HangUpAndWait serves the thread's messages while it
// waits, so any operation, also of this component, may run inside it.
class TRAS {
 public:
  // Records the connection enumeration has room for; with more
  // connections it answers kRasErrorBufferTooSmall.
  static constexpr std::size_t kConnectionRoom = 4;
  // Entry names ReadPhoneBookEntries has room for.
  static constexpr std::size_t kPhoneBookRoom = 100;
  // How long HangUpAndWait waits for the platform to let a connection go.
  // A hang-up normally ends within a few seconds; a connection still listed
  // after this is taken as stuck, not as slow.
  static constexpr uint64_t kHangUpWaitLimitMs = 30000;
  // Longest pause between two status polls while no message arrives.
  static constexpr uint32_t kPollPauseMs = 10;

  // State numbers of the platform that StateText names specially.
  static constexpr uint16_t kStateConnected = 8192;
  static constexpr uint16_t kStateDisconnected = 8193;

  // Neither is used before the first operation that needs the platform.
  TRAS(RasLibrary& library, MessagePump& pump);
  // Hangs up a connection that is still attached (without waiting), then
  // frees the library.
  ~TRAS();
  TRAS(const TRAS&) = delete;
  TRAS& operator=(const TRAS&) = delete;

  // Binds the library on the first call; true when dialling is available.
  bool LoadRasLibrary();

  // The library's text for `code`, or the system's message text when the
  // library has none.
  std::string RasErrorText(uint32_t code);

  // The entry name of the first active connection in the platform's order
  // whose handle is not in `pass_over` (empty: the first one), or empty.
  // Sets CurConnName, CurRASConn, NumConns and LastError (0, or 603 when
  // more connections exist than the enumeration has room for; the records
  // it returned are still used).
  std::string QueryCurrentConnection(std::span<const uintptr_t> pass_over = {});

  // Attaches the connection found by the last query (index 0; no other
  // list of connections exists here) unless one is attached already, then
  // polls it. 6 when there is nothing to attach.
  uint32_t AttachConnection(int32_t index);

  // Polls the attached connection: 0 while it exists, with ConnectState
  // and ConnectError updated; 601 (LastError untouched) when none is
  // attached; otherwise the failure, whose text goes to StatusStr.
  uint32_t PollConnectStatus();

  // Hangs up the attached connection and waits until the platform no
  // longer knows it, serving messages meanwhile, but at most
  // kHangUpWaitLimitMs (HangUpTimedOut then tells). Detaches, fires
  // OnDisconnect and returns the hang-up's result; 0 when nothing was
  // attached or the library is missing (the connection then stays
  // attached).
  uint32_t HangUpAndWait();

  // HangUpAndWait without the wait and without OnDisconnect.
  uint32_t HangUpNow();

  // The text of ConnectState; device states name DeviceType.
  std::string StateText();

  // Fills PhoneBookEntries with the non-empty entry names of PhoneBookPath.
  uint32_t ReadPhoneBookEntries();

  // --- properties ----------------------------------------------------------
  const std::string& PhoneBookPath() const { return phone_book_path_; }
  // Stores the path and reads its entries.
  void SetPhoneBookPath(std::string path);
  const std::vector<std::string>& PhoneBookEntries() const { return phone_book_entries_; }

  const std::string& DeviceType() const { return device_type_; }
  void SetDeviceType(std::string type) { device_type_ = std::move(type); }

  uint32_t LastError() const { return last_error_; }
  uintptr_t RASConn() const { return ras_conn_; }
  uint16_t ConnectState() const { return connect_state_; }
  uint16_t SavedState() const { return saved_state_; }
  uint16_t ConnectError() const { return connect_error_; }
  const std::string& StatusStr() const { return status_str_; }
  const std::string& CurConnName() const { return cur_conn_name_; }
  uint32_t NumConns() const { return num_conns_; }
  uintptr_t CurRASConn() const { return cur_ras_conn_; }
  // Whether the last HangUpAndWait gave up waiting.
  bool HangUpTimedOut() const { return hang_up_timed_out_; }

  // --- events (none by default) --------------------------------------------
  // A polled state differs from the last one reported, or a poll failed.
  void OnStateChanged(std::function<void(TRAS&)> handler) {
    on_state_changed_ = std::move(handler);
  }
  // After HangUpAndWait: the code of one more status query and its text.
  void OnDisconnect(std::function<void(TRAS&, uint32_t, const std::string&)> handler) {
    on_disconnect_ = std::move(handler);
  }

 private:
  void NotifyStateChange();
  void NotifyDisconnect();

  RasLibrary& library_;
  MessagePump& pump_;
  bool library_loaded_ = false;  // the load was tried
  bool dial_available_ = false;

  std::string phone_book_path_;
  std::vector<std::string> phone_book_entries_;
  std::string device_type_;

  uint32_t last_error_ = 0;
  uintptr_t ras_conn_ = 0;
  uint16_t connect_state_ = 0;
  uint16_t saved_state_ = 9999;
  uint16_t connect_error_ = 0;
  std::string status_str_;
  std::string cur_conn_name_;
  uint32_t num_conns_ = 0;
  uintptr_t cur_ras_conn_ = 0;
  bool hang_up_timed_out_ = false;

  std::function<void(TRAS&)> on_state_changed_;
  std::function<void(TRAS&, uint32_t, const std::string&)> on_disconnect_;
};

}  // namespace velkora
