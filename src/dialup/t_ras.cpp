#include "dialup/t_ras.h"

#include <algorithm>

#include "base/ascii.h"

namespace velkora {

TRAS::TRAS(RasLibrary& library, MessagePump& pump) : library_(library), pump_(pump) {}

TRAS::~TRAS() {
  HangUpNow();
  if (library_loaded_) library_.Unload();
  library_loaded_ = false;
}

bool TRAS::LoadRasLibrary() {
  if (!library_loaded_) {
    library_loaded_ = true;
    dial_available_ = library_.Load();
  }
  return dial_available_;
}

std::string TRAS::RasErrorText(uint32_t code) {
  if (LoadRasLibrary()) {
    std::string text = library_.ErrorString(code);
    if (!text.empty()) return text;
  }
  return library_.SystemErrorText(code);
}

std::string TRAS::QueryCurrentConnection(std::span<const uintptr_t> pass_over) {
  last_error_ = kRasErrorNotAvailable;
  cur_conn_name_.clear();
  cur_ras_conn_ = 0;
  if (!LoadRasLibrary()) return {};

  std::vector<RasConnection> records;
  uint32_t count = 0;
  last_error_ = library_.EnumConnections(kConnectionRoom, records, count);
  num_conns_ = count;
  if ((last_error_ != kRasOk && last_error_ != kRasErrorBufferTooSmall) || num_conns_ == 0) {
    return {};
  }
  // With too many connections the platform may have left the room blank;
  // the first record is then taken as it is.
  if (records.empty()) records.emplace_back();
  const auto passed_over = [&](const RasConnection& record) {
    return std::find(pass_over.begin(), pass_over.end(), record.handle) != pass_over.end();
  };
  const auto found = std::find_if_not(records.begin(), records.end(), passed_over);
  if (found == records.end()) return {};
  cur_conn_name_ = found->entry_name;
  cur_ras_conn_ = found->handle;
  return cur_conn_name_;
}

uint32_t TRAS::AttachConnection(int32_t index) {
  if (ras_conn_ == 0) {
    // Only the connection of the last query can be attached; an index into
    // a list of connections has nothing to name.
    if (cur_ras_conn_ == 0 || index > 0) {
      last_error_ = kRasErrorInvalidHandle;
      return kRasErrorInvalidHandle;
    }
    ras_conn_ = cur_ras_conn_;
  }
  return PollConnectStatus();
}

uint32_t TRAS::PollConnectStatus() {
  connect_state_ = 0;
  if (ras_conn_ == 0) return kRasErrorNotConnected;
  last_error_ = kRasErrorNotAvailable;
  if (!LoadRasLibrary()) return kRasErrorNotAvailable;

  RasConnectStatus status;
  last_error_ = library_.GetConnectStatus(ras_conn_, status);
  if (last_error_ == kRasOk) {
    connect_state_ = static_cast<uint16_t>(status.state);
    connect_error_ = static_cast<uint16_t>(status.error);
    if (status.error > 600) last_error_ = status.error;
  }
  if (last_error_ != kRasOk) status_str_ = RasErrorText(last_error_);
  return last_error_;
}

uint32_t TRAS::HangUpAndWait() {
  connect_state_ = 0;
  hang_up_timed_out_ = false;
  uint32_t result = 0;
  if (ras_conn_ != 0) {
    last_error_ = kRasErrorNotAvailable;
    if (!LoadRasLibrary()) return 0;
    result = library_.HangUp(ras_conn_);
    // The connection goes away some time after the hang-up; the status
    // query fails from then on. A platform that keeps listing it must not
    // keep the server (and the script that asked) waiting for ever.
    const uint64_t start = pump_.SteadyMs();
    uint16_t last_seen = 0;
    while (PollConnectStatus() == kRasOk) {
      if (pump_.SteadyMs() - start >= kHangUpWaitLimitMs) {
        hang_up_timed_out_ = true;
        break;
      }
      pump_.ProcessMessages(kPollPauseMs);
      if (connect_state_ != last_seen) {
        status_str_ = StateText();
        NotifyStateChange();
        last_seen = connect_state_;
      }
    }
  }
  ras_conn_ = 0;
  last_error_ = result;
  NotifyDisconnect();
  return result;
}

uint32_t TRAS::HangUpNow() {
  connect_state_ = 0;
  uint32_t result = 0;
  if (ras_conn_ != 0) {
    last_error_ = kRasErrorNotAvailable;
    if (!LoadRasLibrary()) return 0;
    result = library_.HangUp(ras_conn_);
  }
  ras_conn_ = 0;
  last_error_ = result;
  return result;
}

void TRAS::NotifyStateChange() {
  if (ras_conn_ == 0 || !on_state_changed_) return;
  if (last_error_ != kRasOk || connect_state_ != saved_state_) on_state_changed_(*this);
  saved_state_ = last_error_ != kRasOk ? 0 : connect_state_;
}

void TRAS::NotifyDisconnect() {
  if (!on_disconnect_) return;
  last_error_ = kRasErrorNotAvailable;
  if (LoadRasLibrary()) {
    RasConnectStatus status;
    last_error_ = library_.GetConnectStatus(ras_conn_, status);
    on_disconnect_(*this, last_error_, RasErrorText(last_error_));
  }
}

std::string TRAS::StateText() {
  const auto with_device = [this](std::string text) {
    if (!device_type_.empty()) text += " (" + AsciiLowered(device_type_) + ")";
    return text;
  };
  switch (connect_state_) {
    case 0: return "Opening Serial Port";
    case 1: return "Serial Port Opened";
    case 2: return with_device("Connecting/Dialling");
    case 3: return with_device("Connected/Answered");
    case 4: return "Connected/Negotiation";
    case 5: return "Validating User and Password";
    case 6: return "Authentication Notification";
    case 8: return "Authentication Call Back";
    case 10: return "Projection Started";
    case 11: return "Calculating Link speed";
    case 12: return "Authentication acknowledged";
    case 13: return "Reauthenticating";
    case 14: return "Login Authenticated";
    case 15: return "Preparing for Callback";
    case 16: return "Waiting for Modem Reset";
    case 17: return "Waiting for Callback";
    case 18: return "Projection Completion";
    case 19: return "Start Authentication";
    case 20: return "Callback Complete";
    case 21: return "Logon to Network";
    case kStateConnected: return "Connected/Online";
    case kStateDisconnected: return "Disconnected/Offline";
    default: break;
  }
  if (connect_state_ > 600) return RasErrorText(connect_state_);
  return "Unknown State - " + std::to_string(connect_state_);
}

uint32_t TRAS::ReadPhoneBookEntries() {
  last_error_ = kRasErrorNotAvailable;
  if (!LoadRasLibrary()) return kRasErrorNotAvailable;
  phone_book_entries_.clear();
  std::vector<std::string> names;
  const uint32_t result = library_.EnumEntries(phone_book_path_, kPhoneBookRoom, names);
  last_error_ = result;
  if (result == kRasOk) {
    for (std::string& name : names) {
      if (!name.empty()) phone_book_entries_.push_back(std::move(name));
    }
  }
  return result;
}

void TRAS::SetPhoneBookPath(std::string path) {
  phone_book_path_ = std::move(path);
  ReadPhoneBookEntries();
}

}  // namespace velkora
