#pragma once

#include <string>

namespace velkora {

// Keys below HKEY_CLASSES_ROOT (class registration). No call raises.
//
// Thread safety: safe to call from several threads.
class ClassesRegistry {
 public:
  ClassesRegistry() = default;
  ClassesRegistry(const ClassesRegistry&) = delete;
  ClassesRegistry& operator=(const ClassesRegistry&) = delete;
  virtual ~ClassesRegistry() = default;

  // Creates the key (and any missing parents) and sets its default value to
  // `value`; false on failure.
  virtual bool SetDefaultValue(const std::string& key, const std::string& value) = 0;
  // Deletes the key; false when it could not be deleted (also when missing).
  virtual bool DeleteKey(const std::string& key) = 0;
};

}  // namespace velkora
