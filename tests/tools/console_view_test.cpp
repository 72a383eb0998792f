#include "console_view.h"

#include <gtest/gtest.h>

#include "console_settings.h"

#include <cstdio>
#include <string>

#include "nmea/decoder.h"

namespace orlimo {
namespace {

// Runs `body` against a console view writing to memory and returns what it printed.
template <typename Body>
std::string Printed(bool answerYes, Body body) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&data, &size);
  {
    ConsoleView view(out, answerYes);
    body(view);
  }
  std::fclose(out);
  std::string text(data, size);
  std::free(data);
  return text;
}

TEST(ConsoleView, OneLinePerChangeInItsForm) {
  const std::string out = Printed(false, [](ConsoleView& v) {
    v.SetPanelText(3, "NMEA");
    v.SetPanelText(3, "NMEA");  // unchanged: not printed again
    v.SetWindowTitle("KELDAR Orlimo V:1.10 (\x9B" "2J\xB0)");  // a terminal's CSI must not get through
    v.AppendMonitorLine("$GPGGA,1*00");
    v.AppendTrace(2, " GPS =>NMEA : 12");
    EXPECT_FALSE(v.AskYesNo("switch?\r\n\r\nNow?\n"));  // a line break, a blank line too, as " | "
    v.ShowErrorMsg("port can not find GPS Data !!");
  });
  EXPECT_EQ(out,
            "panel 3: NMEA\n"
            "title: KELDAR Orlimo V:1.10 (\\x9B2J\xB0)\n"
            "monitor: $GPGGA,1*00\n"
            "trace Memo2:  GPS =>NMEA : 12\n"
            "dialog ask: switch? | Now? -> no\n"
            "dialog error: port can not find GPS Data !! -> ok\n");
}

TEST(ConsoleView, NaviLineAfterRefreshAndAnswerYes) {
  const std::string out = Printed(true, [](ConsoleView& v) {
    TqvNMEA nmea;
    TSentenceType type;
    nmea.DecodeSentence(
        "$GPGGA,023441.000,3730.2492,N,12702.8663,E,1,07,1.2,78.3,M,19.6,M,,0000*6D", type);
    v.UpdateNaviPanel(nmea);
    EXPECT_TRUE(v.AskYesNo("q"));
  });
  EXPECT_EQ(out.rfind("navi: lat=37.504153 lon=127.047772 alt=78.3 fix=yes", 0), 0u) << out;
  EXPECT_NE(out.find(" quality=1 hdop=1.20 vdop=- pdop=- gst_lat_m=- gst_lon_m=- gst_alt_m=-\n"), std::string::npos)
      << "the fix quality keys follow the older ones";
  EXPECT_NE(out.find("dialog ask: q -> yes\n"), std::string::npos);
}

// A saved rate the lists do not hold opens at 4800; what the console has no control
// for goes back as it was read; the history keeps its order.
TEST(ConsoleSettings, SavedValuesInAndOut) {
  TSettings saved;
  saved.BaudRate = "14400";
  saved.UnitIndex = 1;
  saved.Commands = {"$PQXC,201"};
  Printed(false, [&](ConsoleView& v) {
    ApplySettings(saved, "", "", v);
    EXPECT_EQ(v.BaudRateText(), "4800");
    v.InsertCommandHistory("$PQXC,202");
    const TSettings after = SettingsAfterRun(saved, v, false);
    EXPECT_EQ(after.UnitIndex, 1);
    EXPECT_EQ(after.Commands, (std::vector<std::string>{"$PQXC,202", "$PQXC,201"}));
  });
}

}  // namespace
}  // namespace orlimo
