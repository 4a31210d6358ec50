#include "regex/perlre.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace velkora {
namespace {

// The configuration of the process-wide instance.
TPerlre Shared() { return TPerlre(true, kPerlreCaseless); }

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EPerlRe& e) {
    return e.what();
  }
  return "(nothing raised)";
}

void ExpectSub(const TPerlre& re, int index, const std::string& text, int pos, int len) {
  const TSubExp sub = re.GetSubExp(index);
  EXPECT_EQ(sub.Text, text) << "group " << index;
  EXPECT_EQ(sub.Pos, pos) << "group " << index;
  EXPECT_EQ(sub.Len, len) << "group " << index;
}

TEST(TPerlre, CaselessUnanchoredSearchFoldsAsciiOnly) {
  for (bool study : {true, false}) {
    TPerlre re(study, kPerlreCaseless);
    re.SetRegex("notepad");
    EXPECT_TRUE(re.Match("Editor - NOTEPAD"));
    re.SetRegex("^ed");
    EXPECT_TRUE(re.Match("Editor"));
    re.SetRegex("^itor");
    EXPECT_FALSE(re.Match("Editor"));
    re.SetRegex("^bar$");
    EXPECT_TRUE(re.Match("Bar"));
    EXPECT_FALSE(re.Match("Bar 2"));
    // Umlauts (in either 8-bit encoding the server meets) match only
    // themselves, and the character classes are ASCII.
    re.SetRegex("\xE4");  // ä in code page 1252
    EXPECT_FALSE(re.Match("\xC4"));
    EXPECT_TRUE(re.Match("\xE4"));
    re.SetRegex("ä");
    EXPECT_FALSE(re.Match("Ä"));
    re.SetRegex("^\\w$");
    EXPECT_FALSE(re.Match("\xE4"));
    re.SetRegex("a.b");
    EXPECT_FALSE(re.Match("a\nb"));  // "." stops at a line break
  }
}

TEST(TPerlre, OptionsAreFixedAtConstruction) {
  TPerlre exact(true, 0);
  exact.SetRegex("a");
  EXPECT_FALSE(exact.Match("A"));
  TPerlre lines(true, kPerlreCaseless | kPerlreMultiline | kPerlreDotAll);
  lines.SetRegex("^b.c$");
  EXPECT_TRUE(lines.Match("a\nB\nC\nd"));
  EXPECT_EQ(lines.Options(), kPerlreCaseless | kPerlreMultiline | kPerlreDotAll);
}

TEST(TPerlre, CompileErrorKeepsTheLastMatchAndLeavesNoPattern) {
  TPerlre re = Shared();
  re.SetRegex("^(.*?)#(.*)");
  ASSERT_TRUE(re.Match("a#b#c"));

  const std::string message = MessageOf([&] { re.SetRegex("("); });
  EXPECT_EQ(message.rfind("Perlre: ", 0), 0u) << message;
  EXPECT_GT(message.size(), 8u) << "the engine's own text follows the prefix";
  EXPECT_EQ(re.Regex(), "(");
  // The last match's sub-expressions are still handed out...
  EXPECT_EQ(re.MatchCount(), 3);
  ExpectSub(re, 2, "b#c", 3, 3);
  // ...but nothing can be searched until a pattern compiles again.
  EXPECT_EQ(MessageOf([&] { re.Match("x"); }), "Perlre: no regex defined");
  EXPECT_EQ(MessageOf([&] { re.MatchNext(); }), "Perlre: no regex defined");
  re.SetRegex("x");
  EXPECT_TRUE(re.Match("x"));

  TPerlre fresh = Shared();
  EXPECT_EQ(MessageOf([&] { fresh.MatchNext(); }), "Perlre: no regex defined");
  EXPECT_EQ(MessageOf([&] { fresh.GetSubExp(0); }), "Perlre: GetSubExp without match");
}

TEST(TPerlre, SubExpressionsArePositionedInTheSubject) {
  TPerlre re = Shared();
  re.SetRegex("^(.*?)#(.*)");
  ASSERT_TRUE(re.Match("a#b#c"));
  EXPECT_EQ(re.MatchCount(), 3);
  ExpectSub(re, 0, "a#b#c", 1, 5);
  ExpectSub(re, 1, "a", 1, 1);
  ExpectSub(re, 2, "b#c", 3, 3);
  EXPECT_EQ(MessageOf([&] { re.GetSubExp(3); }), "Perlre: index out of range in GetSubExp");
  EXPECT_EQ(MessageOf([&] { re.GetSubExp(-1); }), "Perlre: index out of range in GetSubExp");
  EXPECT_EQ(MessageOf([&] { re.GetSubExp(255); }), "Perlre: index out of range in GetSubExp");

  // A group that took no part: empty, at the match start's offset.
  re.SetRegex("(x)?(y)");
  ASSERT_TRUE(re.Match("y"));
  EXPECT_EQ(re.MatchCount(), 3);
  ExpectSub(re, 1, "", 0, 0);
  ExpectSub(re, 2, "y", 1, 1);
  // MatchCount stops at the highest group that took part.
  re.SetRegex("(a)|(b)");
  ASSERT_TRUE(re.Match("a"));
  EXPECT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(MessageOf([&] { re.GetSubExp(2); }), "Perlre: index out of range in GetSubExp");
}

TEST(TPerlre, GetSubExpNeedsAMatchOfTheCurrentSubject) {
  TPerlre re = Shared();
  re.SetRegex("(a)");
  ASSERT_TRUE(re.Match("a"));
  re.SetRegex("(a)");  // a new pattern forgets the match
  EXPECT_EQ(re.MatchCount(), -1);
  EXPECT_EQ(MessageOf([&] { re.GetSubExp(0); }), "Perlre: GetSubExp without match");
  ASSERT_TRUE(re.Match("a"));
  re.SetSubject("a");  // so does a new subject
  EXPECT_EQ(MessageOf([&] { re.GetSubExp(0); }), "Perlre: GetSubExp without match");
  EXPECT_FALSE(re.Match("b"));
  EXPECT_LT(re.MatchCount(), 0);
  EXPECT_EQ(MessageOf([&] { re.GetSubExp(0); }), "Perlre: GetSubExp without match");
}

TEST(TPerlre, EmptyPatternAndSubject) {
  TPerlre re = Shared();
  re.SetRegex("");
  ASSERT_TRUE(re.Match(""));
  EXPECT_EQ(re.MatchCount(), 1);
  ExpectSub(re, 0, "", 1, 0);
  re.SetRegex("x*");
  EXPECT_TRUE(re.Match(""));
}

TEST(TPerlre, MatchNextSearchesOnFromTheLastMatch) {
  TPerlre re = Shared();
  re.SetRegex("[0-9]");
  ASSERT_TRUE(re.Match("a1b2"));
  ExpectSub(re, 0, "1", 2, 1);
  ASSERT_TRUE(re.MatchNext());
  ExpectSub(re, 0, "2", 4, 1);
  EXPECT_FALSE(re.MatchNext());
  EXPECT_FALSE(re.MatchNext());  // stays at the end, still nothing

  // The engine sees the subject only from the search position on, so "^"
  // matches there again.
  re.SetRegex("^a");
  ASSERT_TRUE(re.Match("aab"));
  ASSERT_TRUE(re.MatchNext());
  ExpectSub(re, 0, "a", 2, 1);
  EXPECT_FALSE(re.MatchNext());

  re.ResetMatch();
  EXPECT_EQ(re.MatchCount(), -1);
  ASSERT_TRUE(re.MatchNext());
  ExpectSub(re, 0, "a", 1, 1);
}

TEST(TPerlre, MatchNextAfterAnEmptyMatchMovesOn) {
  TPerlre re = Shared();
  re.SetRegex("x*");
  ASSERT_TRUE(re.Match("axxb"));
  ExpectSub(re, 0, "", 1, 0);
  std::vector<std::pair<int, int>> found;
  int calls = 0;
  while (re.MatchNext() && ++calls < 20) {
    found.emplace_back(re.GetSubExp(0).Pos, re.GetSubExp(0).Len);
  }
  // "xx" at 2, then the empty matches at 4 and at the end.
  EXPECT_EQ(found, (std::vector<std::pair<int, int>>{{2, 2}, {4, 0}, {5, 0}}));

  re.SetRegex("");
  ASSERT_TRUE(re.Match(""));
  EXPECT_FALSE(re.MatchNext());
}

TEST(TPerlre, MoreGroupsThanResultPairs) {
  TPerlre re = Shared();
  re.SetRegex("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)(o)");
  ASSERT_TRUE(re.Match("-abcdefghijklmno"));
  EXPECT_EQ(re.MatchCount(), 0);
  ExpectSub(re, 0, "abcdefghijklmno", 2, 15);
  ExpectSub(re, 13, "m", 14, 1);
  EXPECT_EQ(MessageOf([&] { re.GetSubExp(14); }), "Perlre: index out of range in GetSubExp");
  // Thirteen groups still fit.
  re.SetRegex("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)");
  ASSERT_TRUE(re.Match("abcdefghijklm"));
  EXPECT_EQ(re.MatchCount(), 14);
}

TEST(TPerlre, PatternAndSubjectEndAtTheirFirstNul) {
  TPerlre re = Shared();
  re.SetRegex(std::string("ab\0(", 4));  // the unbalanced part is never seen
  EXPECT_TRUE(re.Match("xab"));
  EXPECT_FALSE(re.Match(std::string("x\0ab", 4)));
  EXPECT_EQ(re.Subject(), "x");
}

// A catastrophic pattern on a window-title-sized subject must end as "no
// match" at once, and leave the instance usable.
TEST(TPerlre, RunawayPatternsEndAsNoMatch) {
  const std::string title = std::string(254, 'a') + "!";
  const char* const patterns[] = {
      "(a+)+$",
      "(a|a)*$",
      "(a|aa)+$",
      "((a+)*)+$",
      "(?:a|a?)+$",
      "^(\\w+\\s?)*$",
      "(?:(a+)\\1)*$",
      "(a*)*\\1$",
      "(?=(a+)+$)",
      "(a(?1)?)+$",
      "(?:a{0,100}){0,100}$",
      "(.*a){20}$",
  };
  for (bool study : {true, false}) {
    TPerlre re(study, kPerlreCaseless);
    for (const char* pattern : patterns) {
      re.SetRegex(pattern);
      const auto start = std::chrono::steady_clock::now();
      EXPECT_FALSE(re.Match(title)) << pattern;
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
      EXPECT_LT(re.MatchCount(), 0) << pattern;
      EXPECT_EQ(MessageOf([&] { re.GetSubExp(0); }), "Perlre: GetSubExp without match");
      std::printf("  %-8s %-24s %7.2f ms\n", study ? "jit" : "interp", pattern, ms);
    }
    // The limits do not touch sensible searches, nor the same pattern on a
    // subject where it matches.
    re.SetRegex("(a+)+$");
    EXPECT_TRUE(re.Match(std::string(255, 'a')));
    ExpectSub(re, 0, std::string(255, 'a'), 1, 255);
    re.SetRegex("^(.*?)#(.*)$");
    EXPECT_TRUE(re.Match(std::string(5000, 'x') + "#" + std::string(5000, 'y')));
    ExpectSub(re, 2, std::string(5000, 'y'), 5002, 5000);
    // Two to three million steps, a few milliseconds with the engine's own
    // limits: the JIT-compiled matcher finds it; the interpreter's budget
    // is smaller, as its steps can cost a microsecond each.
    re.SetRegex("(a+)+b");
    EXPECT_EQ(re.Match(std::string(20, 'a') + "!ab"), re.Jitted());
  }
}

// A recursion through many empty alternatives, searched for a non-empty
// match after an empty one: the JIT-compiled matcher ran for minutes inside
// its step limit. Patterns that call themselves or a group run in the
// interpreter, which ends such a search at once.
TEST(TPerlre, RecursionThroughEmptyAlternativesEnds) {
  TPerlre re(true, kPerlreExtended | kPerlreAnchored);
  re.SetRegex(std::string(12, '|') + "(?R)" + std::string(70, '|'));
  EXPECT_FALSE(re.Jitted());
  EXPECT_TRUE(re.Match(""));
  EXPECT_FALSE(re.MatchNext());
  // A pattern without a call keeps the JIT.
  re.SetRegex(std::string(12, '|') + "(a)" + std::string(70, '|'));
#if defined(__x86_64__) || defined(_M_X64)
  EXPECT_TRUE(re.Jitted());
#endif
}

#if defined(__x86_64__) || defined(_M_X64)
// Only a real subroutine call takes a pattern off the JIT. (?-i), the way
// to match case-sensitively, is none; neither is a call's text that the
// engine reads as a literal, a class member or a comment.
TEST(TPerlre, OnlyRealSubroutineCallsLeaveTheJit) {
  const char* const calls[] = {
      "(a)(?R)?",
      "(a)(?0)?",
      "(a)b(?1)?",
      "(a)(?-1)",
      "(?+1)(a)",
      "(?<n>a)(?&n)",
      "(?P<n>a)(?P>n)",
      "(a)\\g<1>",
      "(?<n>a)\\g'n'",
      "(a)\\g<-1>",
      "[(]\\((?1)?(a)",
      "\\Q[\\E(?R)?",
      "[]](?R)?",
      "[^]](?R)?",
      "[[:alpha:]](?R)?",
      "(?#[)(?R)?",
      "(?x: # [\n)(?R)?",
      "(?x)(?-x)#(?R)?",
      "(?x)(?i:(?-x))#[\n(?R)?",
      "(*MARK:[)(?R)?",
      "(?C\"[\")(?R)?",
      "(?C{x)}}})(?R)?",
      "(?i)(?R)?",
      "\\c[(?R)?",
  };
  const char* const no_calls[] = {
      "(?-i)Editor",      "(?i-s)a.b",         "(?^)a",         "\\(?R\\)",     "[(?R)]",
      "[]\\](?R)]",       "[[:alpha:](?R)]",   "\\Q(?R)\\E",    "(?#(?R)a",     "(?P=n)|(?P<n>a)",
      "(a)\\g{-1}",       "\\k<n>|(?<n>a)",    "\\c[",          "(?(1)a|b)(c)", "(*CR)a",
      "(?x)a # (?R)\n b", "(?x: # [\n)[(?R)]", "(?C\"(?R)\")a",
  };
  TPerlre re(true, 0);
  for (const char* pattern : calls) {
    re.SetRegex(pattern);
    EXPECT_FALSE(re.Jitted()) << pattern;
  }
  for (const char* pattern : no_calls) {
    re.SetRegex(pattern);
    EXPECT_TRUE(re.Jitted()) << pattern;
  }
  TPerlre extended(true, kPerlreExtended);
  extended.SetRegex("a # (?R)\n");
  EXPECT_TRUE(extended.Jitted());
  extended.SetRegex("(?-x)a # (?R)?");
  EXPECT_FALSE(extended.Jitted());

  // A case-sensitive search keeps the JIT and the budget: this one needs
  // about half a million steps before it matches at the end.
  TPerlre shared = Shared();
  const std::string title = std::string(18, 'a') + "!aB";
  shared.SetRegex("(?-i)(a+)+B");
  EXPECT_TRUE(shared.Jitted());
  EXPECT_TRUE(shared.Match(title));
  ExpectSub(shared, 0, "aB", 20, 2);
  shared.SetRegex("(?-i)(a+)+b");
  EXPECT_FALSE(shared.Match(title));
}
#endif

TEST(TPerlre, StudyRunsJitCompiledWhereAvailable) {
  TPerlre plain(false, kPerlreCaseless);
  plain.SetRegex("a");
  EXPECT_FALSE(plain.Jitted());
  TPerlre studied = Shared();
  EXPECT_FALSE(studied.Jitted());  // no pattern yet
  studied.SetRegex("a");
#if defined(__x86_64__) || defined(_M_X64)
  EXPECT_TRUE(studied.Jitted()) << "PCRE2 has JIT on this processor";
#endif
  EXPECT_THROW(studied.SetRegex("["), EPerlRe);
  EXPECT_FALSE(studied.Jitted());
}

}  // namespace
}  // namespace velkora
