#pragma once

// Scripted stand-ins for the dial-up library, the message pump and the
// dial-up statistics.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/message_pump.h"
#include "platform/perf_data.h"
#include "platform/ras.h"

namespace velkora::fakes {

struct FakeConnection {
  FakeConnection(uintptr_t h, std::string n, uint32_t s = 8192, uint32_t e = 0)
      : handle(h), name(std::move(n)), state(s), error(e) {}

  uintptr_t handle = 0;
  std::string name;
  uint32_t state = 8192;  // connected
  uint32_t error = 0;
  // Status polls that still find the connection after its hang-up; the
  // next one fails with "invalid handle". Negative: it never goes away.
  int polls_after_hang_up = 0;
  // States reported by those polls, one per poll (the last one repeats);
  // empty: `state`.
  std::vector<uint32_t> states_after_hang_up;

  bool hung_up = false;
  int polls_since_hang_up = 0;
};

// Connections that exist until hung up and polled often enough. Every call
// is recorded in `calls` ("Load", "Enum", "Status <h>", "HangUp <h>",
// "Entries <book>", "Unload"); ErrorString and SystemErrorText are not.
class FakeRasLibrary : public RasLibrary {
 public:
  bool Load() override {
    calls.push_back("Load");
    loaded_ = available;
    return available;
  }
  void Unload() override {
    calls.push_back("Unload");
    loaded_ = false;
  }

  uint32_t EnumConnections(std::size_t capacity, std::vector<RasConnection>& records,
                           uint32_t& count) override {
    calls.push_back("Enum");
    records.clear();
    if (!loaded_) return kRasErrorNotAvailable;
    if (enum_result != 0) return enum_result;
    count = static_cast<uint32_t>(connections.size());
    if (connections.size() > capacity) {
      if (!blank_when_too_small) {
        for (std::size_t i = 0; i < capacity; ++i) {
          records.push_back({connections[i].handle, connections[i].name});
        }
      }
      return kRasErrorBufferTooSmall;
    }
    for (const FakeConnection& c : connections) records.push_back({c.handle, c.name});
    return kRasOk;
  }

  uint32_t GetConnectStatus(uintptr_t connection, RasConnectStatus& status) override {
    calls.push_back("Status " + std::to_string(connection));
    if (!loaded_) return kRasErrorNotAvailable;
    auto it = Find(connection);
    if (it == connections.end()) return kRasErrorInvalidHandle;
    if (it->hung_up) {
      if (it->polls_after_hang_up >= 0 && it->polls_since_hang_up >= it->polls_after_hang_up) {
        connections.erase(it);
        return kRasErrorInvalidHandle;
      }
      ++it->polls_since_hang_up;
      if (!it->states_after_hang_up.empty()) {
        const std::size_t i =
            std::min<std::size_t>(it->polls_since_hang_up - 1, it->states_after_hang_up.size() - 1);
        status.state = it->states_after_hang_up[i];
      } else {
        status.state = it->state;
      }
    } else {
      status.state = it->state;
    }
    status.error = it->error;
    return kRasOk;
  }

  uint32_t HangUp(uintptr_t connection) override {
    calls.push_back("HangUp " + std::to_string(connection));
    if (!loaded_) return kRasErrorNotAvailable;
    auto it = Find(connection);
    if (it == connections.end()) return kRasErrorInvalidHandle;
    it->hung_up = true;
    return hang_up_result;
  }

  std::string ErrorString(uint32_t code) override {
    if (!loaded_) return {};
    auto it = error_strings.find(code);
    return it == error_strings.end() ? std::string() : it->second;
  }

  std::string SystemErrorText(uint32_t code) override {
    auto it = system_texts.find(code);
    return it == system_texts.end() ? std::string() : it->second;
  }

  uint32_t EnumEntries(const std::string& phone_book, std::size_t capacity,
                       std::vector<std::string>& names) override {
    calls.push_back("Entries " + phone_book);
    if (!loaded_) return kRasErrorNotAvailable;
    if (entries_result != 0) return entries_result;
    names.assign(entries.begin(),
                 entries.begin() + static_cast<std::ptrdiff_t>(std::min(capacity, entries.size())));
    return kRasOk;
  }

  // Whether a connection of that handle is still listed.
  bool Listed(uintptr_t handle) const {
    return std::any_of(connections.begin(), connections.end(),
                       [&](const FakeConnection& c) { return c.handle == handle; });
  }
  int Count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
  }

  bool available = true;  // Load's answer
  std::vector<FakeConnection> connections;
  uint32_t enum_result = 0;           // non-zero: EnumConnections fails with it
  bool blank_when_too_small = false;  // 603 leaves the records blank
  uint32_t hang_up_result = 0;
  std::map<uint32_t, std::string> error_strings;
  std::map<uint32_t, std::string> system_texts;
  std::vector<std::string> entries;
  uint32_t entries_result = 0;
  std::vector<std::string> calls;

 private:
  std::vector<FakeConnection>::iterator Find(uintptr_t handle) {
    return std::find_if(connections.begin(), connections.end(),
                        [&](const FakeConnection& c) { return c.handle == handle; });
  }
  bool loaded_ = false;
};

// Time passes only while messages are processed: each call moves the clock
// on by the longest wait it was allowed. `inside` runs as a message would.
class FakeMessagePump : public MessagePump {
 public:
  void ProcessMessages(uint32_t max_wait_ms) override {
    ++calls;
    now_ms += max_wait_ms;
    if (inside) inside();
  }
  uint64_t SteadyMs() const override { return now_ms; }

  uint64_t now_ms = 1000;
  int calls = 0;
  std::function<void()> inside;
};

class FakePerfData : public PerfData {
 public:
  std::optional<RegistryValue> ReadStatValue(const std::string& name) override {
    ++reads;
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }

  std::map<std::string, RegistryValue> values;
  int reads = 0;
};

}  // namespace velkora::fakes
