// The portable INI engine against the system's profile functions: the same
// generated files and sequences of writes, deletes and reads go through
// both, and every read must give the same result. After every write or
// delete the file must exist on both sides or on neither (a write that
// changes nothing creates no file), and hold the same sections, keys and
// values, as the engine reads both files (the system may lay out the lines
// differently). Every listing of a section's keys is also read as the
// section's entries in one pass, which must give each listed key the value
// a lookup of its own gives. Run under Wine, the
// system's functions are Wine's, which part from the real ones in a few
// known ways; a difference is accepted only in a sequence made to meet one
// of those ways, only after the sequence has met it, and the test names
// the way for each. Sequences that meet none must agree on every read.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/portable/ini_engine.h"
#include "platform/win32/win32_profile.h"
#include "support/temp_dir.h"

namespace velkora::win32 {
namespace {

// The known ways in which Wine's functions differ from the real ones; each
// generated sequence meets at most one of them.
enum class WineWay {
  kNone,
  kBracketsInHeaders,   // ends a section name at the last ']', takes a line without ']' as a key
  kCommentLinesAsKeys,  // a lookup of ";key" finds a comment line
  kLeadingBlankValues,  // removes leading blanks from a written value
  kUtf8ByteOrderMark,   // understands a UTF-8 byte-order mark
  kTabsInArguments,     // trims tabs from section and key arguments
  // Found by this comparison, not in the notes yet (Wine's source confirms
  // both as its own):
  kUntrimmedNoValueArguments,  // no trimming of arguments when deleting or listing a section's keys
  kBlankDefault,               // keeps one blank of a default made only of blanks
  kQuotedValueCut,  // cuts a quoted value one character short when the buffer only just holds it
};

constexpr std::array kWineWays = {WineWay::kNone,
                                  WineWay::kBracketsInHeaders,
                                  WineWay::kCommentLinesAsKeys,
                                  WineWay::kLeadingBlankValues,
                                  WineWay::kUtf8ByteOrderMark,
                                  WineWay::kTabsInArguments,
                                  WineWay::kUntrimmedNoValueArguments,
                                  WineWay::kBlankDefault};

const char* Describe(WineWay way) {
  switch (way) {
    case WineWay::kNone: return "none";
    case WineWay::kBracketsInHeaders:
      return "Wine ends a section name at the last ']' and treats a line without ']' as a key";
    case WineWay::kCommentLinesAsKeys:
      return "Wine keeps ';' lines as keys (a lookup of \";key\" finds them)";
    case WineWay::kLeadingBlankValues: return "Wine removes leading blanks from a written value";
    case WineWay::kUtf8ByteOrderMark: return "Wine understands a UTF-8 byte-order mark";
    case WineWay::kTabsInArguments: return "Wine trims tabs from arguments as well as spaces";
    case WineWay::kUntrimmedNoValueArguments:
      return "Wine keeps the spaces around section and key arguments when deleting a key or a "
             "section and when "
             "listing a section's keys (found here)";
    case WineWay::kBlankDefault:
      return "Wine keeps one blank of a default text made only of blanks (found here)";
    case WineWay::kQuotedValueCut:
      return "Wine cuts a quoted value one character short when the buffer only just holds it "
             "(found here)";
  }
  return "?";
}

enum class OpKind { kRead, kListSections, kListKeys, kWrite, kDeleteKey, kDeleteSection };

struct Op {
  OpKind kind = OpKind::kRead;
  std::string section;
  std::string key;
  std::string value;  // written value, or the default of a read
  std::size_t buffer = 2048;
  bool meets_way = false;  // this operation carries the sequence's Wine way
};

struct Sequence {
  std::string file;  // initial bytes ("" = no file)
  bool file_meets_way = false;
  std::vector<Op> ops;
};

// Makes files and operations from a seed. The draws use only the engine's
// raw output, so a seed gives the same sequence on every system.
class Generator {
 public:
  Generator(uint32_t seed, WineWay way) : random_(seed), way_(way) {}

  Sequence Make() {
    Sequence s;
    if (Chance(85)) s.file = MakeFile(s.file_meets_way);
    const int count = 20 + static_cast<int>(Below(40));
    for (int i = 0; i < count; ++i) s.ops.push_back(MakeOp());
    return s;
  }

 private:
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(random_() % n); }
  bool Chance(uint32_t percent) { return Below(100) < percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[Below(static_cast<uint32_t>(items.size()))];
  }

  std::string Word(const char* alphabet, uint32_t max_length) {
    const std::string letters(alphabet);
    std::string word;
    const uint32_t length = 1 + Below(max_length);
    for (uint32_t i = 0; i < length; ++i)
      word += letters[Below(static_cast<uint32_t>(letters.size()))];
    return word;
  }

  // Names: a small pool, so that names meet again in other letter cases.
  std::string Name(std::vector<std::string>& pool) {
    if (!pool.empty() && Chance(70)) {
      std::string name = Pick(pool);
      for (char& c : name) {
        if (Chance(30) && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      }
      return name;
    }
    std::string name = Word("abcdefgh", 4);
    if (Chance(15)) name += " " + Word("xyz#.-_", 2);  // inner blank and other characters
    pool.push_back(name);
    return name;
  }

  std::string Value() {
    switch (Below(10)) {
      case 0: return "";
      case 1: return "\"" + Word("abc d", 5) + "\"";  // quoted: the quotes go
      case 2: return "'" + Word("abc", 3) + "'";
      case 3: return "\"" + Word("abc", 3) + "'";  // mismatched: they stay
      case 4: return Word("abc", 3) + " ;x";       // no inline comment
      case 5: return Word("a=b", 4);
      case 6: return Word("abc", 3) + "  ";  // trailing blanks
      default: return Word("abcdefghijklmnopqrstuvwxyz0123456789", 8);
    }
  }

  std::string Blanks() {
    return Chance(25) ? std::string(Chance(50) ? " " : "\t ") : std::string();
  }

  std::string Header(const std::string& name) {
    if (way_ == WineWay::kBracketsInHeaders && Chance(30)) {
      meets_ = true;
      return Chance(50) ? "[" + name + "]x]" : "[" + name;
    }
    return Blanks() + "[" + Blanks() + name + Blanks() + "]" + (Chance(10) ? " after" : "");
  }

  std::string MakeFile(bool& meets_way) {
    std::string file;
    meets_ = false;
    if (way_ == WineWay::kUtf8ByteOrderMark) {
      file = "\xEF\xBB\xBF";
      meets_ = true;
    }
    const std::string eol = Chance(80) ? "\r\n" : "\n";
    if (Chance(20)) file += "vorher=1" + eol;  // before any section: unreachable
    const int lines = static_cast<int>(Below(30));
    for (int i = 0; i < lines; ++i) {
      switch (Below(10)) {
        case 0:
        case 1: file += Header(Name(sections_)) + eol; break;
        case 2: file += "; " + Word("abc =", 6) + eol; break;
        case 3: file += Blanks() + eol; break;
        case 4: file += Word("abc", 4) + eol; break;  // no '=': no key
        default:
          file += Blanks() + Name(keys_) + Blanks() + "=" + Blanks() + Value() + Blanks() + eol;
      }
    }
    if (Chance(20) && !file.empty())
      file.erase(file.size() - eol.size());  // no line break at the end
    meets_way = meets_;
    return file;
  }

  // A section or key argument as a caller passes it to an operation of
  // that kind.
  std::string Argument(std::vector<std::string>& pool, OpKind kind, bool& meets) {
    std::string name = Name(pool);
    if (Chance(15)) {
      // Spaces around: trimmed by both when reading or writing a value.
      const bool value_call = kind == OpKind::kRead || kind == OpKind::kWrite;
      if (value_call || way_ == WineWay::kUntrimmedNoValueArguments) {
        name = " " + name + "  ";
        meets = meets || !value_call;
      }
    }
    if (way_ == WineWay::kTabsInArguments && Chance(20)) {
      name = Chance(50) ? "\t" + name : name + "\t";
      meets = true;
    }
    if (way_ == WineWay::kCommentLinesAsKeys && &pool == &keys_ && Chance(25)) {
      name = ";" + name;
      meets = true;
    }
    return name;
  }

  Op MakeOp() {
    Op op;
    const uint32_t pick = Below(100);
    op.kind = pick < 35   ? OpKind::kRead
              : pick < 45 ? OpKind::kListSections
              : pick < 55 ? OpKind::kListKeys
              : pick < 85 ? OpKind::kWrite
              : pick < 95 ? OpKind::kDeleteKey
                          : OpKind::kDeleteSection;
    op.section = Argument(sections_, op.kind, op.meets_way);
    op.key = Argument(keys_, op.kind, op.meets_way);
    if (op.kind == OpKind::kWrite) {
      op.value = Value();
      if (way_ == WineWay::kLeadingBlankValues && Chance(40)) {
        op.value = "  " + op.value;
        op.meets_way = true;
      }
      if (way_ == WineWay::kBracketsInHeaders && Chance(20)) {
        op.section += "]x";
        op.meets_way = true;
      }
    }
    if (op.kind == OpKind::kRead) {
      op.value = Chance(50) ? "" : Word("dx", 3) + (Chance(30) ? "  " : "");
      if (way_ == WineWay::kBlankDefault && Chance(30)) {
        op.value = std::string(1 + Below(3), ' ');
        op.meets_way = true;
      }
    }
    const bool list = op.kind == OpKind::kListSections || op.kind == OpKind::kListKeys;
    op.buffer = Chance(15) ? 1 + Below(24) : (list ? 16384 : 2048);
    return op;
  }

  std::mt19937 random_;
  WineWay way_;
  bool meets_ = false;
  std::vector<std::string> sections_;
  std::vector<std::string> keys_;
};

std::string Shown(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\0') {
      out += "\\0";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out += c;
    }
  }
  return "\"" + out + "\"";
}

std::string Describe(const Op& op) {
  std::ostringstream text;
  switch (op.kind) {
    case OpKind::kRead:
      text << "read " << Shown(op.section) << "/" << Shown(op.key) << " default "
           << Shown(op.value);
      break;
    case OpKind::kListSections: text << "list sections"; break;
    case OpKind::kListKeys: text << "list keys of " << Shown(op.section); break;
    case OpKind::kWrite:
      text << "write " << Shown(op.section) << "/" << Shown(op.key) << "=" << Shown(op.value);
      break;
    case OpKind::kDeleteKey: text << "delete " << Shown(op.section) << "/" << Shown(op.key); break;
    case OpKind::kDeleteSection: text << "delete section " << Shown(op.section); break;
  }
  text << " (buffer " << op.buffer << ")";
  return text.str();
}

struct Difference {
  std::size_t op_index;
  std::string what;
  // Set when the difference itself shows the way it comes from, whatever
  // the sequence was made to meet.
  std::optional<WineWay> shows;
};

// A value read into a small buffer that Wine gave one character shorter:
// with the value's quotes removed it cuts once more.
bool IsQuotedValueCut(const Op& op, const std::string& engine, const std::string& real) {
  return op.kind == OpKind::kRead && op.buffer < 2048 && engine.size() == real.size() + 1 &&
         engine.compare(0, real.size(), real) == 0 && engine.size() + 1 == op.buffer;
}

// What a file holds as the engine reads it: every section name as listed,
// and for each its keys with their values, so two files that differ only in
// layout (blank lines, blanks around '=', line ends) read the same.
std::string ReadableContent(const std::string& bytes) {
  using portable::ini_engine::GetString;
  std::string content;
  for (const std::string& section :
       SplitProfileList(GetString(bytes, std::nullopt, std::nullopt, "", 16384))) {
    content += "[" + section + "]\n";
    for (const std::string& key :
         SplitProfileList(GetString(bytes, section, std::nullopt, "", 16384))) {
      content += key + "=" + GetString(bytes, section, key, "", 2048) + "\n";
    }
  }
  return content;
}

std::string ShownEntries(const std::vector<Profile::NamedValue>& entries) {
  std::string shown;
  for (const Profile::NamedValue& entry : entries) shown += entry.name + "=" + entry.value + "\n";
  return Shown(shown);
}

// Runs a sequence through both and returns where they part.
std::vector<Difference> Compare(const Sequence& s, const std::string& path) {
  std::vector<Difference> differences;
  std::string engine_file = s.file;
  bool engine_exists = !s.file.empty();
  if (!s.file.empty()) testing_support::WriteBytes(path, s.file);
  Win32Profile system;
  for (std::size_t i = 0; i < s.ops.size(); ++i) {
    const Op& op = s.ops[i];
    std::string engine;
    std::string real;
    switch (op.kind) {
      case OpKind::kRead:
        engine =
            portable::ini_engine::GetString(engine_file, op.section, op.key, op.value, op.buffer);
        real = system.GetString(op.section, op.key, op.value, op.buffer, path);
        break;
      case OpKind::kListSections:
        engine =
            portable::ini_engine::GetString(engine_file, std::nullopt, std::nullopt, "", op.buffer);
        real = system.GetString(std::nullopt, std::nullopt, "", op.buffer, path);
        break;
      case OpKind::kListKeys: {
        engine =
            portable::ini_engine::GetString(engine_file, op.section, std::nullopt, "", op.buffer);
        real = system.GetString(op.section, std::nullopt, "", op.buffer, path);
        const std::string one_pass = ShownEntries(
            portable::ini_engine::GetSectionValues(engine_file, op.section, op.buffer, 2048));
        const std::string key_by_key =
            ShownEntries(system.GetSectionValues(op.section, op.buffer, 2048, path));
        if (one_pass != key_by_key) {
          differences.push_back(
              {i, Describe(op) + " as entries: engine " + one_pass + ", system " + key_by_key,
               std::nullopt});
        }
        break;
      }
      case OpKind::kWrite:
      case OpKind::kDeleteKey:
      case OpKind::kDeleteSection: {
        const std::optional<std::string_view> key = op.kind == OpKind::kDeleteSection
                                                        ? std::nullopt
                                                        : std::optional<std::string_view>(op.key);
        const std::optional<std::string_view> value =
            op.kind == OpKind::kWrite ? std::optional<std::string_view>(op.value) : std::nullopt;
        const std::optional<std::string> written =
            portable::ini_engine::WriteString(engine_file, op.section, key, value);
        if (written && *written != engine_file) {
          engine_file = *written;
          engine_exists = true;
        }
        engine = written ? "written" : "refused";
        real = system.WriteString(op.section, key, value, path) ? "written" : "refused";
        const bool system_exists = std::filesystem::exists(path);
        if (system_exists != engine_exists) {
          differences.push_back({i,
                                 Describe(op) + ": the file exists for the " +
                                     (engine_exists ? "engine only" : "system only"),
                                 std::nullopt});
        } else if (system_exists) {
          const std::string engine_content = ReadableContent(engine_file);
          const std::string system_content = ReadableContent(testing_support::ReadBytes(path));
          if (engine_content != system_content) {
            differences.push_back({i,
                                   Describe(op) + ": the file holds, engine " +
                                       Shown(engine_content) + ", system " + Shown(system_content),
                                   std::nullopt});
          }
        }
        break;
      }
    }
    if (engine != real) {
      std::optional<WineWay> shows;
      if (IsQuotedValueCut(op, engine, real)) shows = WineWay::kQuotedValueCut;
      differences.push_back(
          {i, Describe(op) + ": engine " + Shown(engine) + ", system " + Shown(real), shows});
    }
  }
  return differences;
}

TEST(ProfileComparison, EngineAgreesWithTheSystemUpToKnownWineWays) {
  testing_support::TempDir dir;
  // 40 seeds take about 20 s under Wine; VELKORA_COMPARISON_SEEDS asks for
  // a longer run.
  uint32_t seeds = 40;
  if (const char* more = std::getenv("VELKORA_COMPARISON_SEEDS"))
    seeds = static_cast<uint32_t>(std::atoi(more));
  std::map<WineWay, int> explained;
  int sequences = 0;
  int operations = 0;
  for (uint32_t seed = 1; seed <= seeds; ++seed) {
    for (const WineWay way : kWineWays) {
      const Sequence s = Generator(seed * 7919 + static_cast<uint32_t>(way), way).Make();
      const std::string path = dir.File("seq-" + std::to_string(seed) + "-" +
                                        std::to_string(static_cast<int>(way)) + ".ini");
      ++sequences;
      operations += static_cast<int>(s.ops.size());
      // Where the sequence first meets its Wine way.
      std::size_t met = s.ops.size();
      if (s.file_meets_way) met = 0;
      for (std::size_t i = 0; i < s.ops.size() && met == s.ops.size(); ++i) {
        if (s.ops[i].meets_way) met = i;
      }
      for (const Difference& d : Compare(s, path)) {
        if (d.shows) {
          ++explained[*d.shows];
          continue;
        }
        if (way != WineWay::kNone && d.op_index >= met) {
          ++explained[way];
          continue;
        }
        std::string before;
        for (std::size_t i = 0; i < d.op_index; ++i)
          before += "\n  " + std::to_string(i) + ": " + Describe(s.ops[i]);
        ADD_FAILURE() << "seed " << seed << ", way " << Describe(way) << ", operation "
                      << d.op_index << ": " << d.what << "\nfile " << Shown(s.file) << "\nafter"
                      << before;
      }
    }
  }
  std::cout << sequences << " sequences, " << operations << " operations compared\n";
  for (const WineWay way : kWineWays) {
    if (way != WineWay::kNone)
      std::cout << explained[way] << " differences from: " << Describe(way) << "\n";
  }
  std::cout << explained[WineWay::kQuotedValueCut]
            << " differences from: " << Describe(WineWay::kQuotedValueCut) << "\n";
}

}  // namespace
}  // namespace velkora::win32
