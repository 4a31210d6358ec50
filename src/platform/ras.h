#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velkora {

// Result codes of the dial-up library that its users look at.
inline constexpr uint32_t kRasOk = 0;
inline constexpr uint32_t kRasErrorInvalidHandle = 6;   // no such connection (any more)
inline constexpr uint32_t kRasErrorNotConnected = 601;  // "invalid port handle"
inline constexpr uint32_t kRasErrorBufferTooSmall = 603;
inline constexpr uint32_t kRasErrorNotAvailable = 1157;  // the library or an entry point is missing

// One record of the connection enumeration.
struct RasConnection {
  uintptr_t handle = 0;
  std::string entry_name;
};

// The status record of one connection.
struct RasConnectStatus {
  uint32_t state = 0;  // the platform's connection-state number (8192 connected, ...)
  uint32_t error = 0;  // non-zero when the connection failed
  std::string device_type;
  std::string device_name;
};

// The platform's dial-up (Remote Access Service) library, bound at run time
// so that the server also runs where there is none.
//
// No member raises: each returns the platform's result code, 0 for success.
// Until Load has returned true every member other than Load and
// SystemErrorText returns kRasErrorNotAvailable (ErrorString the empty
// text); the same holds for a member whose entry point the library lacks.
//
// Thread safety: the main thread only; implementations need not be safe for
// concurrent use.
class RasLibrary {
 public:
  RasLibrary() = default;
  RasLibrary(const RasLibrary&) = delete;
  RasLibrary& operator=(const RasLibrary&) = delete;
  virtual ~RasLibrary() = default;

  // Loads the library and resolves its entry points. True when the dial
  // entry point is available, which is what its users take as "dial-up
  // networking is there". REQUIRES: called at most once before Unload.
  virtual bool Load() = 0;
  // Frees what Load bound; afterwards the library behaves as never loaded.
  virtual void Unload() = 0;

  // Enumerates the active connections into room for `capacity` records.
  // 0: `records` holds every connection in the platform's order and `count`
  // their number. kRasErrorBufferTooSmall: there are more than `capacity`;
  // `count` is the number needed and `records` what the platform left in
  // the room (it may be blank or missing). Any other code: `records` and
  // `count` mean nothing.
  virtual uint32_t EnumConnections(std::size_t capacity, std::vector<RasConnection>& records,
                                   uint32_t& count) = 0;

  // The status of connection `connection`. 0 while the platform still
  // knows the connection (the status then says how far it is);
  // kRasErrorInvalidHandle once it is gone; other codes on failure.
  virtual uint32_t GetConnectStatus(uintptr_t connection, RasConnectStatus& status) = 0;

  // Starts to hang up `connection` and returns at once; the connection
  // goes away later (GetConnectStatus then fails).
  virtual uint32_t HangUp(uintptr_t connection) = 0;

  // The library's own text for a dial-up error code, at most 256
  // characters; empty when it has none for `code`.
  virtual std::string ErrorString(uint32_t code) = 0;

  // The operating system's message text for an error code, without its
  // line end; empty when the system has none.
  virtual std::string SystemErrorText(uint32_t code) = 0;

  // Names of the entries of a phone book (empty `phone_book`: the
  // platform's default one), at most `capacity` of them, in the book's
  // order. Names may be empty. On failure `names` means nothing.
  virtual uint32_t EnumEntries(const std::string& phone_book, std::size_t capacity,
                               std::vector<std::string>& names) = 0;
};

}  // namespace velkora
