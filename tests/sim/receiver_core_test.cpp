#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <random>
#include <vector>

#include "frames/hex.h"
#include "frames/sirf_frame.h"
#include "frames/ubx_frame.h"
#include "nmea/sentence.h"
#include "sim/nmea_output.h"
#include "sim/receiver_core.h"
#include "sim/replay.h"

namespace orlimo {
namespace {

std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < s.size()) {
    const std::size_t eol = s.find("\r\n", pos);
    if (eol == std::string::npos) break;
    out.push_back(s.substr(pos, eol - pos));
    pos = eol + 2;
  }
  return out;
}

int Separators(const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), ',')) + 1; }

SimOptions Quick(SimPersonality p = SimPersonality::SiRF) {
  SimOptions o;
  o.personality = p;
  o.ttffStart = 0;
  o.ttffHot = 2;
  o.ttffCold = 5;
  o.restartSilence = 0.5;
  return o;
}

std::string Field(const std::string& line, int n) {  // 1-based, '*' ends the last field
  std::size_t pos = 0;
  for (int i = 1; i < n; ++i) pos = line.find(',', pos) + 1;
  return line.substr(pos, line.find_first_of(",*", pos) - pos);
}

std::string RmcStatus(const std::string& out) {
  for (const std::string& l : Lines(out))
    if (l.rfind("$GPRMC", 0) == 0) return Field(l, 3);
  return "";
}

TEST(ReceiverCore, CyclesHaveTheFieldCountsTheDecodersAccept) {
  for (bool fix : {true, false}) {
    SimOptions o = Quick();
    o.scenario.noFix = !fix;
    o.zda = true;
    o.scenario.speedKnots = 22;
    ReceiverCore core(o, 1700000000);
    const std::vector<std::string> lines = Lines(core.Due(0));
    std::vector<std::string> gsv;
    for (const std::string& l : lines) {
      ASSERT_TRUE(IsValidSentence(l)) << l;
      const std::string type = l.substr(3, 3);
      const std::map<std::string, int> counts = {{"RMC", 13}, {"GGA", 15}, {"GLL", 8}, {"GSA", 18}, {"VTG", 10}};
      if (counts.count(type) != 0) {
        EXPECT_EQ(Separators(l), counts.at(type)) << l;
      }
      if (type == "GSV") gsv.push_back(l);
      EXPECT_EQ(l.substr(0, 3), "$GP");
    }
    ASSERT_EQ(gsv.size(), 3u);  // 11 satellites: 4 + 4 + 3
    bool emptyCn0 = false;
    for (std::size_t m = 0; m < gsv.size(); ++m) {
      EXPECT_EQ(Field(gsv[m], 2), "3");
      EXPECT_EQ(Field(gsv[m], 3), std::to_string(m + 1));
      EXPECT_EQ(Field(gsv[m], 4), "11");
      const int sats = (Separators(gsv[m]) - 4) / 4;
      EXPECT_EQ(sats, m < 2 ? 4 : 3);
      for (int i = 0; i < sats; ++i) emptyCn0 |= Field(gsv[m], 8 + 4 * i).empty();
    }
    EXPECT_TRUE(emptyCn0);
    EXPECT_EQ(RmcStatus(core.Due(1)), fix ? "A" : "V");
  }
}

TEST(ReceiverCore, MovingPositionAndFixUsedSatellitesInGsa) {
  SimOptions o = Quick();
  o.scenario.speedKnots = 60;  // a nautical mile a minute
  o.scenario.courseDeg = 0;
  ReceiverCore core(o, 1700000000);
  std::string first, later, gsa;
  for (int s = 0; s <= 60; ++s) {
    const std::string out = core.Due(s);
    for (const std::string& l : Lines(out)) {
      if (l.rfind("$GPGGA", 0) == 0) (s == 0 ? first : later) = Field(l, 3);
      if (l.rfind("$GPGSA", 0) == 0) gsa = l;
    }
  }
  EXPECT_NEAR(std::stod(later) - std::stod(first), 1.0, 0.01);  // minutes of latitude
  EXPECT_EQ(Field(gsa, 3), "3");
  EXPECT_FALSE(Field(gsa, 4).empty());
}

TEST(ReceiverCore, TenHertzCyclesAreStampedOnWholeTenths) {
  SimOptions o = Quick();
  o.hz = 10;
  ReceiverCore core(o, 1700000000);
  std::vector<std::string> fractions;
  for (int k = 0; k < 40; ++k) {
    for (const std::string& l : Lines(core.Due(k / 10.0)))
      if (l.rfind("$GPRMC", 0) == 0) fractions.push_back(Field(l, 2).substr(6));
  }
  ASSERT_EQ(fractions.size(), 40u);
  for (int k = 0; k < 40; ++k)
    EXPECT_EQ(fractions[k], (std::string{'.', static_cast<char>('0' + k % 10), '0', '0'})) << k;
}

TEST(ReceiverCore, AnswersTheMakersQueries) {
  SimOptions o = Quick();
  o.tmc = true;
  ReceiverCore core(o, 1700000000);
  core.Due(0);
  core.Receive("$PQXC,201*05\r\n$PQYCM,V\r\n$PQXC,200,0*18\r\n", 0.1);
  std::string out = core.Due(0.2);
  const std::size_t ver = out.find("$PQXR,201,");
  ASSERT_NE(ver, std::string::npos);
  EXPECT_EQ(out.compare(out.find("GSW", ver) - 0, 3, "GSW"), 0);
  EXPECT_NE(out.find('*', ver), std::string::npos);
  EXPECT_NE(out.find("PQYTQ"), std::string::npos);
  EXPECT_NE(out.find("$PQXR,200,1,0*"), std::string::npos);  // normal mode: three commas

  core.Receive("$PQXC,200,2,400,1000,300000,30000\r\n", 0.3);
  const std::string reply = Lines(core.Due(0.4)).at(0);
  EXPECT_EQ(reply.rfind("$PQXR,200,1", 0), 0u);
  EXPECT_EQ(Field(reply, 5), "400");
  EXPECT_EQ(Field(reply, 6), "1000");
  EXPECT_EQ(core.Counters().lastCommand, "$PQXC,200,2,400,1000,300000,30000");

  // A wrong or lower-case checksum is not a command; without a TMC module no PQYTQ.
  ReceiverCore plain(Quick(), 1700000000);
  plain.Due(0);
  plain.Receive("$PQXC,201*06\r\n$PQXC,201*0a\r\n$PQYCM,V\r\n", 0.1);
  EXPECT_EQ(plain.Due(0.2), "");
  EXPECT_EQ(plain.Counters().rejected, 2);
  EXPECT_EQ(plain.Counters().received, std::deque<std::string>{"$PQYCM,V"});
}

TEST(ReceiverCore, RecordsEveryCheckedMessageInOrderAndKeepsTheLatest) {
  ReceiverCore core(Quick(), 1700000000);
  core.Due(0);
  const std::string ubx = BuildUBXFrame(0x06, 0x01, std::string{'\xF0', '\x04'});
  core.Receive("$PQXC,201*05\r\n$PFOO,console\r\n" + BuildSiRFFrame("\x84") + "$PQXC,201*00\r\n" + ubx.substr(0, 5), 0.1);
  core.Receive(ubx.substr(5) + "$PQYCM,V\r\n", 0.2);  // a frame across two reads
  EXPECT_EQ(core.Counters().received, (std::deque<std::string>{"$PQXC,201*05", "$PFOO,console", "A0A20001840084B0B3",
                                                               "B56206010200F004FD15", "$PQYCM,V"}));
  EXPECT_EQ(Lines(core.Due(0.3)).size(), 1u);  // the version reply; the rest is recorded, not obeyed
  for (int i = 0; i < 300; ++i) core.Receive("$PX," + std::to_string(i) + "\r\n", 1);
  ASSERT_EQ(core.Counters().received.size(), kSimReceivedKept);
  EXPECT_EQ(core.Counters().received.front(), "$PX,44");
}

TEST(ReceiverCore, RestartsLoseTheFixAndRegainItAfterTheirTime) {
  for (int kind : {1, 4, 8}) {
    ReceiverCore core(Quick(), 1700000000);
    EXPECT_EQ(RmcStatus(core.Due(0)), "A");
    core.Receive("$PQXC,200,2,400,1000,300000,30000\r\n", 0.1);
    const std::string cmd = "$PSRF101,0,0,0,96000,0,0,12," + std::to_string(kind);
    core.Receive(cmd + NMEAChecksumSuffix(cmd) + "\r\n", 0.5);
    EXPECT_EQ(core.Counters().restarts, 1);
    EXPECT_EQ(core.Due(0.9), "");  // quiet while it restarts
    EXPECT_EQ(RmcStatus(core.Due(1)), "V");
    const double ttff = kind == 1 ? 2 : 5;
    double t = 2;
    for (; t < 10 && RmcStatus(core.Due(t)) != "A"; t += 1) {
    }
    EXPECT_DOUBLE_EQ(t, 0.5 + ttff + 0.5) << kind;  // first whole-second cycle after the fix
    EXPECT_EQ(core.Rate(), kind == 8 ? 4800 : 9600);
    EXPECT_EQ(core.TricklePower(), kind != 8);  // a factory default forgets the power mode
  }
}

TEST(ReceiverCore, RateChangeTakesEffectAtOnce) {
  ReceiverCore core(Quick(), 1700000000);
  core.Receive("$PSRF100,1,38400,8,1,0" + NMEAChecksumSuffix("$PSRF100,1,38400,8,1,0") + "\r\n", 0.1);
  EXPECT_EQ(core.Rate(), 38400);
  core.Receive("$PSRF100,1,12345,8,1,0\r\n", 0.2);  // no such rate
  EXPECT_EQ(core.Rate(), 38400);
  core.Receive("$PSRF100,0,57600,8,1,0\r\n", 0.3);  // protocol 0: SiRF binary
  EXPECT_EQ(core.Mode(), SimMode::SiRFBinary);
  EXPECT_EQ(core.Rate(), 57600);
}

TEST(ReceiverCore, BinaryModeSendsCheckedFramesAndObeysOnlyValidOnes) {
  ReceiverCore core(Quick(SimPersonality::SiRFBinary), 1700000000);
  const std::string out = core.Due(0);
  EXPECT_NE(out.find(HexToBytes("A0A2000909").value()), std::string::npos);
  for (std::size_t p = out.find("\xA0\xA2"); p != std::string::npos; p = out.find("\xA0\xA2", p + 1)) {
    const std::size_t len = (static_cast<unsigned char>(out[p + 2]) << 8 | static_cast<unsigned char>(out[p + 3])) + 8;
    EXPECT_TRUE(IsValidSiRFFrame(out.substr(p, len)));
    p += len - 1;
  }
  const std::string factory =
      HexToBytes("A0A20019" "80" "000000000000000000000000" "000177FA" "00000000" "0000" "0C38" "0236B0B3").value();
  std::string broken = factory;
  broken[27] ^= 1;
  core.Receive("$PSRF100,1,4800,8,1,0*0E\r\n" + broken, 0.2);  // text and a bad frame: ignored
  EXPECT_EQ(core.Mode(), SimMode::SiRFBinary);
  EXPECT_EQ(core.Rate(), 9600);
  EXPECT_EQ(core.Counters().rejected, 1);
  core.Receive(factory, 0.3);
  EXPECT_EQ(core.Mode(), SimMode::Nmea);
  EXPECT_EQ(core.Rate(), 4800);
  EXPECT_EQ(core.Counters().lastRestartKind, 8);

  ReceiverCore other(Quick(SimPersonality::SiRFBinary), 1700000000);
  other.Receive(HexToBytes("A0A20018810201010101010105010101010100010001000100011" "2C00169B0B3").value(), 0.1);
  EXPECT_EQ(other.Mode(), SimMode::Nmea);
  EXPECT_EQ(other.Rate(), 4800);
}

TEST(ReceiverCore, UBloxBannerCfgMsgRepliesAndRestarts) {
  ReceiverCore core(Quick(SimPersonality::UBlox), 1700000000);
  std::string out = core.Due(0);
  for (const char* t : {"u-blox", "ANTARIS", "ROM CORE"}) EXPECT_NE(out.find(t), std::string::npos) << t;
  EXPECT_EQ(core.Due(1).find("ANTARIS"), std::string::npos);  // once, not every cycle

  core.Receive("$PQXC,201*05\r\n", 1.2);  // not its language: banner again, no SiRF reply
  out = core.Due(2);
  EXPECT_NE(out.find("ANTARIS"), std::string::npos);
  EXPECT_EQ(out.find("PQXR"), std::string::npos);

  std::string polls;
  for (int id : {0, 1, 2, 3, 4, 5, 8}) polls += BuildUBXFrame(0x06, 0x01, std::string{'\xF0', static_cast<char>(id)});
  std::string bad = BuildUBXFrame(0x06, 0x01, std::string{'\xF0', '\x00'});
  bad.back() ^= 1;
  core.Receive(polls + bad, 2.1);
  out = core.Due(2.2);
  int replies = 0;
  for (std::size_t p = out.find("\xB5\x62\x06\x01"); p != std::string::npos; p = out.find("\xB5\x62\x06\x01", p + 1)) {
    const std::string f = out.substr(p, 14);
    ASSERT_TRUE(IsValidUBXFrame(f));
    const int id = static_cast<unsigned char>(f[7]);
    EXPECT_EQ(static_cast<int>(f[9]), id == 8 ? 0 : 1) << id;  // rate on the second target
    ++replies;
  }
  EXPECT_EQ(replies, 7);
  EXPECT_EQ(core.Counters().rejected, 1);

  core.Receive(HexToBytes("B56206040400FF0702001679").value(), 3.0);  // CFG-RST cold
  EXPECT_EQ(core.Counters().restarts, 1);
  EXPECT_FALSE(core.HasFix(4.0));
}

TEST(ReceiverCore, UBloxFollowsItsRateTableUntilAFactoryDefault) {
  SimOptions o = Quick(SimPersonality::UBlox);
  o.ubxRates = {1, 0, 2, 5, 1, 1, 0, 0, 3, 0, 0};
  ReceiverCore core(o, 1700000000);
  std::map<std::string, int> seen;
  for (int s = 0; s < 10; ++s)
    for (const std::string& l : Lines(core.Due(s))) ++seen[l.substr(3, 3)];
  EXPECT_EQ(seen, (std::map<std::string, int>{{"TXT", 4}, {"GGA", 10}, {"GSA", 5}, {"GSV", 2 * 3}, {"RMC", 10},
                                              {"VTG", 10}, {"ZDA", 4}}));
  auto rateOf = [&](int id, double t) {  // payload byte 3 of the reply to a CFG-MSG poll
    const std::string msg{'\xF0', static_cast<char>(id)};
    core.Receive(BuildUBXFrame(0x06, 0x01, msg), t);
    const std::string out = core.Due(t + 0.1);
    const std::size_t p = out.find("\xB5\x62\x06\x01\x06" + std::string(1, '\0') + msg);
    return p == std::string::npos ? -1 : static_cast<unsigned char>(out[p + 9]);
  };
  for (int id : {0, 1, 2, 3, 4, 5, 8}) EXPECT_EQ(rateOf(id, 10), o.ubxRates[id]) << id;
  core.Receive(BuildUBXFrame(0x06, 0x01, std::string{'\xF0', '\x01', '\x01', '\x01'}), 10.5);  // GLL on
  EXPECT_EQ(rateOf(1, 10.6), 1);

  // Factory default: the cold reset, then CFG-CFG clear and load.
  core.Receive(HexToBytes("B56206040400FF0702001679" "B56206090C00FFFFFFFF00000000FFFFFFFF135B").value(), 11.5);
  const std::string after = core.Due(12);
  EXPECT_EQ(RmcStatus(after), "V");
  EXPECT_NE(after.find("ROM CORE"), std::string::npos);
  EXPECT_EQ(rateOf(1, 12.1), 0);
  std::string status;
  for (int s = 13; s <= 17; ++s) status = RmcStatus(core.Due(s));
  EXPECT_EQ(status, "A");
  core.Receive(HexToBytes("B56206040400000002001068").value(), 17.5);  // hot
  EXPECT_EQ(RmcStatus(core.Due(18)), "V");
}

// CFG-PRT setting UART1 to 8N1 at `bps`.
std::string CfgPrtSet(std::uint32_t bps) {
  std::string p = HexToBytes("01000000D00800000000000007000300" "00000000").value();
  for (int i = 0; i < 4; ++i) p[8 + i] = static_cast<char>(bps >> (8 * i));
  return BuildUBXFrame(0x06, 0x00, p);
}

std::string UbxAckOf(char id, bool ok) { return BuildUBXFrame(0x05, ok ? 0x01 : 0x00, std::string{'\x06', id}); }

// What the receiver answers to `command` at `t`, after what was already due then.
std::string Answer(ReceiverCore& core, const std::string& command, double t) {
  core.Due(t);
  core.Receive(command, t);
  return core.Due(t);
}

TEST(ReceiverCore, UBlox8AnswersMonVerAndCfgPrtRestartsAndMovesRateAfterItsAck) {
  ReceiverCore core(Quick(SimPersonality::UBlox8), 1700000000);
  const std::vector<std::string> banner = Lines(core.Due(0));
  ASSERT_GT(banner.size(), 10u);
  EXPECT_TRUE(IsValidSentence(banner[0]));
  EXPECT_EQ(banner[0].rfind("$GNTXT,01,01,02,u-blox AG - www.u-blox.com*", 0), 0u);
  EXPECT_EQ(banner[9].rfind("$GNTXT,01,01,02,ANTSTATUS=DONTKNOW*", 0), 0u);
  EXPECT_EQ(banner[10].substr(0, 3), "$GP");  // then the cycle

  const std::string ver = Answer(core, HexToBytes("B5620A0400000E34").value(), 0.5);
  ASSERT_TRUE(IsValidUBXFrame(ver));
  const std::string_view p = UBXPayload(ver);
  ASSERT_EQ(p.size(), 40u + 5 * 30);
  auto text = [&](std::size_t at) { return std::string(p.substr(at).data()); };  // zero-padded
  EXPECT_EQ(text(0), "ROM CORE 3.01 (107888)");
  EXPECT_EQ(text(30), "00080000");
  EXPECT_EQ(text(40 + 30), "PROTVER=18.00");
  EXPECT_EQ(text(40 + 4 * 30), "GNSS OTP=GPS;GLO");

  const std::string poll = Answer(core, BuildUBXFrame(0x06, 0x00, ""), 0.6);
  ASSERT_EQ(poll.size(), 28u + 10);
  EXPECT_EQ(poll.substr(0, 28), CfgPrtSet(9600));  // UART1 as the set would leave it
  EXPECT_EQ(poll.substr(28), UbxAckOf(0x00, true));
  EXPECT_EQ(Answer(core, CfgPrtSet(12345), 0.7), UbxAckOf(0x00, false));
  EXPECT_EQ(Answer(core, BuildUBXFrame(0x06, 0x8A, std::string(4, '\0')), 0.8), UbxAckOf(char(0x8A), false));

  // The ACK goes out at the old rate and alone; the cycle due with it follows at the new.
  core.Receive(CfgPrtSet(38400), 0.9);
  EXPECT_EQ(core.Rate(), 9600);
  EXPECT_EQ(core.Due(1), UbxAckOf(0x00, true));
  EXPECT_EQ(core.Rate(), 38400);
  EXPECT_EQ(RmcStatus(core.Due(1)), "A");

  // Hot, warm, cold, then a factory default: CFG-CFG, and the CFG-RST that follows it.
  auto reset = [](int mask) { return BuildUBXFrame(0x06, 0x04, std::string{char(mask), char(mask >> 8), 2, 0}); };
  const std::string factory = HexToBytes("B56206090C00FFFFFFFF00000000FFFFFFFF135B").value();
  for (const auto& [command, kind] : std::vector<std::pair<std::string, int>>{
           {reset(0), 1}, {reset(1), 2}, {reset(0xFFFF), 4}, {factory + reset(0xFFFF), 8}}) {
    const double t = 10.0 * kind;
    core.Receive(command, t);
    EXPECT_EQ(core.Counters().lastRestartKind, kind);
    EXPECT_EQ(core.Due(t + 0.4), "");
    EXPECT_EQ(Lines(core.Due(t + 1)).at(0), banner[0]) << kind;
    EXPECT_EQ(core.HasFix(t + 3), kind == 1) << kind;
  }
  EXPECT_EQ(core.Counters().restarts, 4);
  EXPECT_EQ(core.Rate(), 4800);

  SimOptions o = Quick(SimPersonality::UBlox8);
  o.ignoresRateChange = true;
  ReceiverCore stubborn(o, 1700000000);
  EXPECT_EQ(Answer(stubborn, CfgPrtSet(38400), 0.5), UbxAckOf(0x00, true));
  EXPECT_EQ(stubborn.Due(1).substr(0, 3), "$GP");
  EXPECT_EQ(stubborn.Rate(), 9600);
}

TEST(ReceiverCore, MediaTekAcksItsCommandsRestartsAndMovesRateAfterItsAck) {
  ReceiverCore core(Quick(SimPersonality::MediaTek), 1700000000);
  const std::vector<std::string> start = Lines(core.Due(0));
  ASSERT_GT(start.size(), 2u);
  EXPECT_EQ(start[0], "$PMTK011,MTKGPS*08");
  EXPECT_EQ(start[1], "$PMTK010,001*2E");

  EXPECT_EQ(Answer(core, "$PMTK605*31\r\n", 0.5), NmeaLine("$PMTK705,AXN_2.31_3339_13101700,5632,PA6H,1.0"));
  EXPECT_EQ(Answer(core, "$PMTK220,200\r\n$PSRF100,1,38400,8,1,0\r\n$PMTK251,12345\r\n", 0.6),
            NmeaLine("$PMTK001,220,1") + NmeaLine("$PMTK001,251,2"));
  core.Receive("$PMTK251,38400\r\n", 0.7);
  EXPECT_EQ(core.Rate(), 9600);
  EXPECT_EQ(core.Due(1), "$PMTK001,251,3*36\r\n");
  EXPECT_EQ(core.Rate(), 38400);

  for (const auto& [command, kind] : std::vector<std::pair<std::string, int>>{
           {"$PMTK101", 1}, {"$PMTK102", 2}, {"$PMTK103", 4}, {"$PMTK104*37", 8}}) {
    const double t = 10.0 * kind;
    core.Receive(command + "\r\n", t);
    EXPECT_EQ(core.Counters().lastRestartKind, kind);
    EXPECT_EQ(core.Due(t + 0.4), "");
    EXPECT_EQ(Lines(core.Due(t + 1)).at(0), start[0]) << kind;
    EXPECT_EQ(core.HasFix(t + 3), kind == 1) << kind;
  }
  EXPECT_EQ(core.Rate(), 4800);  // a full cold start is a factory default
}

TEST(SimOptions, UbxRateListsReplaceTheFirstEntriesOrNothing) {
  SimUbxRates r = kDefaultUbxRates;
  EXPECT_TRUE(ParseUbxRates("2,0,255", r));
  EXPECT_EQ(r, (SimUbxRates{2, 0, 255, 1, 1, 1, 0, 0, 0, 0, 0}));
  for (const char* bad : {"", "1,", "1,,2", "256", "-1", " 1", "1,1,1,1,1,1,1,1,1,1,1,1"})
    EXPECT_TRUE(!ParseUbxRates(bad, r) && r[0] == 2) << bad;
}

TEST(ReceiverCore, SilentAndNoisyLines) {
  ReceiverCore silent(Quick(SimPersonality::Silent), 1700000000);
  silent.Receive("$PQXC,201*05\r\n", 0);
  for (int s = 0; s < 3; ++s) EXPECT_EQ(silent.Due(s), "");

  ReceiverCore noisy(Quick(SimPersonality::Noisy), 1700000000);
  int valid = 0, invalid = 0;
  for (int s = 0; s < 20; ++s) {
    for (const std::string& l : Lines(noisy.Due(s))) (IsValidSentence(l) ? valid : invalid) += 1;
  }
  EXPECT_GT(valid, 80);
  EXPECT_GT(invalid, 10);
}

TEST(ReceiverCore, GarbageNeverCrashesOrAnswers) {
  for (SimPersonality p : {SimPersonality::SiRF, SimPersonality::SiRFBinary, SimPersonality::UBlox,
                           SimPersonality::UBlox8, SimPersonality::Ubx, SimPersonality::MediaTek}) {
    ReceiverCore core(Quick(p), 1700000000);
    core.Due(0);
    std::mt19937 rng(3);
    std::string junk;
    for (int i = 0; i < 100000; ++i) junk.push_back(static_cast<char>(rng() & 0xFF));
    junk += "\xA0\xA2\xFF\xFF";  // a length nobody sends, at the very end
    for (std::size_t i = 0; i < junk.size(); i += 977) core.Receive(junk.substr(i, 977), 0.5);
    EXPECT_EQ(core.Counters().restarts, 0);
    EXPECT_EQ(core.Rate(), 9600);
  }
}

TEST(Replay, DropsCommentLinesAndCutsCyclesWhereRecordsRepeat) {
  const std::string capture =
      "# Name: test\n#\n$GPGGA,1*00\r\n$GPGSV,2,1,x\r\n$GPGSV,2,2,x\r\n$GPRMC,1\r\n"
      "$GPGGA,2\r\n$GPGSV,2,1,y\r\n" + BuildSiRFFrame("\x29") + "junk\n#x\xff\n";
  const std::string stream = StripCaptureComments(capture);
  EXPECT_EQ(stream.find("# Name"), std::string::npos);
  EXPECT_NE(stream.find("#x\xff"), std::string::npos);  // binary, not a comment
  const std::vector<std::string> cycles = SplitIntoCycles(stream);
  ASSERT_EQ(cycles.size(), 2u);
  EXPECT_EQ(cycles[0], "$GPGGA,1*00\r\n$GPGSV,2,1,x\r\n$GPGSV,2,2,x\r\n$GPRMC,1\r\n");
  std::string joined;
  for (const std::string& c : cycles) joined += c;
  EXPECT_EQ(joined, stream);  // bytes exactly as captured
}

TEST(Replay, PutsBackTheCROfSentencesStoredWithBareLF) {
  const std::vector<std::string> cycles = SplitIntoCycles("$GPGGA,1\n$GPRMC,1\r\n$GPGGA,2\n");
  ASSERT_EQ(cycles.size(), 2u);
  EXPECT_EQ(cycles[0], "$GPGGA,1\r\n$GPRMC,1\r\n");
  EXPECT_EQ(cycles[1], "$GPGGA,2\r\n");
}

}  // namespace
}  // namespace orlimo
