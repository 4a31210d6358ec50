// The cost of one connection, period by period.

#include <gtest/gtest.h>

#include "base/error.h"
#include "lcr_fixture.h"

namespace velkora::testing_lcr {
namespace {

// Every day type gets the same profiles, closed by the end-of-day profile.
ProfileLists Lists(std::vector<tEinProfil> profiles) {
  ProfileLists lists;
  for (auto& list : lists) {
    list = profiles;
    list.push_back(Tagesendeprofil());
  }
  return lists;
}

double Hms(int h, int m, int s) { return EncodeTime(h, m, s); }

class CostTest : public ::testing::Test, public LcrFixture {
 protected:
  LcrEvaluation ev{services, FormatSettings::German(), 2026};
  const DateTime monday = EncodeDate(2026, 12, 7);
};

// Profile A from 00:00 (2 cents), B from 08:00 (6 cents), both with a fee of
// 0.10; a Monday at 07:58:30 for 300 seconds.
TEST_F(CostTest, WorkedExampleGivesThirtyTwoCents) {
  const ProfileLists lists =
      Lists({tEinProfil(0.0, 60, 0.02, 0.10), tEinProfil(Hms(8, 0, 0), 60, 0.06, 0.10)});
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", lists, 300, monday + Hms(7, 58, 30)), 0.32);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{
                            "   07.12.2026 07:58:30, Mo",
                            "    Einwahlkosten: 0,1",
                            "    Dauer: 120",
                            "    Zeitraumkosten: 0,04",
                            "   07.12.2026 08:00:30, Mo",
                            "    Dauer: 180",
                            "    Zeitraumkosten: 0,18",
                        }));
}

TEST_F(CostTest, IncrementsAroundAProfileStart) {
  const ProfileLists lists =
      Lists({tEinProfil(0.0, 60, 1.0, 0.0), tEinProfil(Hms(8, 0, 0), 60, 10.0, 0.0)});
  const DateTime before = monday + Hms(7, 59, 30);
  // 30 s before the start, 90 s long: one increment at each price.
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", lists, 90, before), 11.0);
  // 60 s: one increment, still at the earlier price.
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", lists, 60, before), 1.0);
  // An increment that starts exactly at the start is billed at the earlier
  // price (the extra second); the next one at the later.
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", lists, 120, monday + Hms(8, 0, 0)), 11.0);
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", lists, 121, monday + Hms(7, 59, 0)), 12.0);
  // A connection inside one profile: every started increment, plus one
  // second is a whole increment.
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", lists, 1, monday + Hms(10, 0, 0)), 10.0);
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", lists, 61, monday + Hms(10, 0, 0)), 20.0);
}

TEST_F(CostTest, OnlyTheFeeInEffectAtTheStartIsCharged) {
  const ProfileLists lists =
      Lists({tEinProfil(0.0, 60, 0.0, 0.5), tEinProfil(Hms(8, 0, 0), 60, 0.0, 7.0)});
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", lists, 3600, monday + Hms(7, 59, 0)), 0.5);
}

TEST_F(CostTest, HolidaysTakePrecedenceOverTheWeekday) {
  ProfileLists lists = Lists({tEinProfil(0.0, 60, 1.0, 0.0)});
  lists[kFeiertag] = {tEinProfil(0.0, 60, 100.0, 0.0), Tagesendeprofil()};
  // Sunday 6 December 2026 is a holiday: list 0, not the Sunday list.
  const DateTime sunday = EncodeDate(2026, 12, 6);
  ev.Feiertagsliste = " 1 " + std::to_string(static_cast<int64_t>(sunday)) + " ";
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", lists, 60, sunday + Hms(12, 0, 0)), 100.0);
  EXPECT_EQ(LogLines().front(), "   06.12.2026 12:00:00, Feiertag");

  // From 23:59 on the weekday before, 180 s: the increments starting at
  // 23:59:00 and 00:00:00 belong to the weekday's period (the extra second
  // reaches midnight), the third to the holiday.
  ClearLog();
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", lists, 180, sunday - 1 + Hms(23, 59, 0)),
                   1.0 + 1.0 + 100.0);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{
                            "   05.12.2026 23:59:00, Sa",
                            "    Einwahlkosten: 0",
                            "    Dauer: 120",
                            "    Zeitraumkosten: 2",
                            "   06.12.2026 00:01:00, Feiertag",
                            "    Dauer: 60",
                            "    Zeitraumkosten: 100",
                        }));
}

// A price per hour of the day: 0 from 00:00, h from h:00 (h = 1 ... 23).
ProfileLists HourlyLists(double holiday_factor) {
  ProfileLists lists;
  for (int d = 0; d < kTagesarten; ++d) {
    const double factor = d == kFeiertag ? holiday_factor : 1.0;
    for (int h = 0; h < 24; ++h) lists[d].emplace_back(Hms(h, 0, 0), 60, h * factor, 0.0);
    lists[d].push_back(Tagesendeprofil());
  }
  return lists;
}

TEST_F(CostTest, AWholeDayAcrossTwentyFourProfileStarts) {
  // From Monday 00:00:00: the first period runs to 01:00 plus the extra
  // second, 61 increments at 0; each later hour h is 60 increments from
  // h:01 on; the last period, from 23:01, has 3540 s left: 59 increments.
  // 61*0 + 60*(1+...+22) + 59*23 = 16537.
  services.log = nullptr;
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", HourlyLists(1), 86400, monday), 16537.0);

  // From noon into a holiday at midnight, where every price is doubled:
  // each period runs from h:00:30 to (h+1):00:30 (3570 s to the next start
  // plus one is 60 increments). Monday 60*(12+...+23) = 12600; the holiday
  // 120*(0+...+10) = 6600 and, with 3600 s left at 11:00:30, one more hour
  // at 22: 1320.
  services.log = [this](std::string_view text) { frame.WriteLog(text); };
  ev.Feiertagsliste = " " + std::to_string(static_cast<int64_t>(monday) + 1) + " ";
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("A", HourlyLists(2), 86400, monday + Hms(12, 0, 30)),
                   12600.0 + 6600.0 + 1320.0);
  int periods = 0, holidays = 0;
  for (const std::string& line : LogLines()) {
    if (line.rfind("    Dauer: ", 0) == 0) ++periods;
    if (line.find(", Feiertag") != std::string::npos) ++holidays;
  }
  EXPECT_EQ(periods, 24);
  EXPECT_EQ(holidays, 12);
}

TEST_F(CostTest, ABadIncrementFailsOnlyWhenItIsReached) {
  const ProfileLists lists =
      Lists({tEinProfil(0.0, 60, 1.0, 0.0), tEinProfil(Hms(8, 0, 0), 0, 1.0, 0.0)});
  EXPECT_DOUBLE_EQ(ev.ZeitraumkostenBerechnen("X", lists, 60, monday + Hms(7, 0, 0)), 1.0);
  try {
    ev.ZeitraumkostenBerechnen("X", lists, 7200, monday + Hms(7, 0, 0));
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Provider 'X': ungültige Taktdauer (08:00:00)");
  }
}

TEST_F(CostTest, ProviderCostIsProviderPlusTelephoneWithTheirLogLines) {
  tEinProvider p("Net", 3);
  p.ProvProfile =
      Lists({tEinProfil(0.0, 60, 0.02, 0.10), tEinProfil(Hms(8, 0, 0), 60, 0.06, 0.10)});
  p.TelProfile = Lists({tEinProfil(0.0, 30, 0.01, 0.0)});
  ev.ProviderkostenBerechnen(p, 300, monday + Hms(7, 58, 30));
  EXPECT_DOUBLE_EQ(p.Gesamtkosten, 0.32 + 0.10);
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], " Provider: Net");
  EXPECT_EQ(lines[1], "  Providerkosten");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "  Telefonkosten"), 1);
  EXPECT_EQ(lines.back(), "  Gesamtkosten: 0,42");
}

}  // namespace
}  // namespace velkora::testing_lcr
