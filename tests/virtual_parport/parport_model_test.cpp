// The virtual parallel port answers as Linux's ppdev driver does: what needs
// the claim, what exclusivity refuses, a claim that waits for the holder,
// and the registers as a PC-style port keeps them.
#include "parport_model.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <linux/parport.h>
#include <linux/ppdev.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace {

int64_t clock_ns = 0;
int64_t step_ns = 1000000;  // far apart: no timing rule is near
int64_t Tick() { return clock_ns += step_ns; }

class ParportModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    step_ns = 1000000;
    vlcd::Module module;
    module.chip = vlcd::Chip::HD44780;
    module.columns = 8;
    module.rows = 1;
    vparport::MakeParport(port_, module, Tick);
  }
  int Request(int client, unsigned long request, int value = 0) {
    int argument = value;
    return vparport::ClientRequest(port_, client, request, &argument);
  }
  // A claim that must be answered at once. One that waits instead (the
  // exclusivity rules broken) fails the test after a bound of its own, and
  // is let go by closing every other client.
  int ClaimAtOnce(int client) {
    auto answer = std::async(std::launch::async, [&] { return Request(client, PPCLAIM); });
    if (answer.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
      ADD_FAILURE() << "client " << client << "'s claim waited instead of being answered";
      std::vector<int> others;
      {
        const std::lock_guard<std::mutex> hold(port_.lock);
        for (const auto& [handle, unused] : port_.clients) {
          if (handle != client) others.push_back(handle);
        }
      }
      for (const int other : others) vparport::CloseClient(port_, other);
    }
    return answer.get();
  }
  // Whether a claim is waiting for the holder, within a bound.
  bool AClaimWaits() {
    for (int tries = 0; tries < 1000; ++tries) {
      {
        const std::lock_guard<std::mutex> hold(port_.lock);
        if (port_.claims_waiting == 1) return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  uint8_t ReadByte(int client, unsigned long request) {
    uint8_t value = 0x5A;
    EXPECT_EQ(vparport::ClientRequest(port_, client, request, &value), 0);
    return value;
  }
  int WriteByte(int client, unsigned long request, uint8_t value) {
    return vparport::ClientRequest(port_, client, request, &value);
  }
  vparport::Parport port_;
};

TEST_F(ParportModelTest, RequestsAnswerAsTheKernelsDo) {
  const int client = vparport::OpenClient(port_);
  // Before the claim only the mode, phase, flags and exclusivity are kept.
  EXPECT_EQ(WriteByte(client, PPWDATA, 0x41), -EINVAL);
  EXPECT_EQ(Request(client, PPRELEASE), -EINVAL);
  EXPECT_EQ(Request(client, PPSETMODE, IEEE1284_MODE_COMPAT), 0);
  int mode = -1;
  EXPECT_EQ(vparport::ClientRequest(port_, client, PPGETMODE, &mode), 0);
  EXPECT_EQ(mode, IEEE1284_MODE_COMPAT);
  EXPECT_EQ(Request(client, PPSETFLAGS, PP_FASTWRITE | 0x100), 0);
  int flags = 0;
  EXPECT_EQ(vparport::ClientRequest(port_, client, PPGETFLAGS, &flags), 0);
  EXPECT_EQ(flags, PP_FASTWRITE);
  unsigned modes = 0;
  EXPECT_EQ(vparport::ClientRequest(port_, client, PPGETMODES, &modes), 0);
  EXPECT_EQ(modes, unsigned{PARPORT_MODE_PCSPP | PARPORT_MODE_TRISTATE});

  ASSERT_EQ(Request(client, PPCLAIM), 0);
  EXPECT_EQ(Request(client, PPCLAIM), -EINVAL);  // already claimed
  EXPECT_EQ(Request(client, PPEXCL), -EINVAL);   // too late: registered shared
  // Four control lines, kept as written; the rest of a write is dropped.
  EXPECT_EQ(WriteByte(client, PPWCONTROL, 0xF4), 0);
  EXPECT_EQ(ReadByte(client, PPRCONTROL), 0x04);
  ppdev_frob_struct frob{0x03, 0x01};
  EXPECT_EQ(vparport::ClientRequest(port_, client, PPFCONTROL, &frob), 0);
  EXPECT_EQ(ReadByte(client, PPRCONTROL), 0x05);
  EXPECT_EQ(port_.lcd.bus.control_register & 0x0F, 0x05);
  // Data: read back while driven; nothing drives the lines once reversed.
  EXPECT_EQ(WriteByte(client, PPWDATA, 0xA5), 0);
  EXPECT_EQ(ReadByte(client, PPRDATA), 0xA5);
  EXPECT_EQ(Request(client, PPDATADIR, 1), 0);
  EXPECT_EQ(ReadByte(client, PPRDATA), 0xFF);
  EXPECT_EQ(Request(client, PPDATADIR, 0), 0);
  EXPECT_EQ(ReadByte(client, PPRDATA), 0xA5);
  EXPECT_EQ(ReadByte(client, PPRSTATUS), 0x78);
  // A timeout is kept to the microsecond; none, a negative one or one too
  // long to count is refused.
  for (timeval refused : {timeval{0, 0}, timeval{-1, 0}, timeval{0, -1}, timeval{1L << 62, 0}}) {
    EXPECT_EQ(vparport::ClientRequest(port_, client, PPSETTIME, &refused), -EINVAL);
  }
  timeval timeout{2, 500001};
  EXPECT_EQ(vparport::ClientRequest(port_, client, PPSETTIME, &timeout), 0);
  timeval kept{};
  EXPECT_EQ(vparport::ClientRequest(port_, client, PPGETTIME, &kept), 0);
  EXPECT_EQ(kept.tv_sec, 2);
  EXPECT_EQ(kept.tv_usec, 500001);
  EXPECT_EQ(Request(client, PPNEGOT, IEEE1284_MODE_COMPAT), 0);
  EXPECT_EQ(Request(client, PPNEGOT, IEEE1284_MODE_NIBBLE), -EIO);
  EXPECT_EQ(Request(client, 0x12345678), -EINVAL);
  EXPECT_EQ(vparport::ClientRequest(port_, client, PPWDATA, nullptr), -EFAULT);
  EXPECT_EQ(Request(client, PPRELEASE), 0);
  EXPECT_EQ(WriteByte(client, PPWDATA, 0x41), -EINVAL);
  vparport::CloseClient(port_, client);
  EXPECT_EQ(Request(client, PPCLAIM), -EBADF);
}

// Another program's claim: an exclusive one refuses everyone else (ENXIO),
// a shared one makes the next claim wait until it is released or closed.
TEST_F(ParportModelTest, ExclusiveClientsRefuseOthersAndAClaimWaitsForTheHolder) {
  const int holder = vparport::OpenClient(port_);
  const int other = vparport::OpenClient(port_);
  ASSERT_EQ(Request(holder, PPEXCL), 0);
  ASSERT_EQ(Request(holder, PPCLAIM), 0);
  EXPECT_EQ(ClaimAtOnce(other), -ENXIO);
  EXPECT_EQ(Request(holder, PPRELEASE), 0);
  EXPECT_EQ(ClaimAtOnce(other), -ENXIO);  // still registered exclusively
  vparport::CloseClient(port_, holder);

  const int shared = vparport::OpenClient(port_);
  ASSERT_EQ(Request(shared, PPCLAIM), 0);
  const int late = vparport::OpenClient(port_);
  EXPECT_EQ(Request(late, PPEXCL), 0);
  EXPECT_EQ(ClaimAtOnce(late), -ENXIO);  // others are registered
  std::atomic<int> claimed{1};
  std::thread waiting([&] { claimed = Request(other, PPCLAIM); });
  EXPECT_TRUE(AClaimWaits()) << "no claim waits for the holder";
  EXPECT_EQ(claimed, 1) << "the claim went through while another held the port";
  vparport::CloseClient(port_, shared);
  waiting.join();
  EXPECT_EQ(claimed, 0);
  EXPECT_EQ(port_.holder, other);
}

// The kernel hands the port over with the claimant's own control lines and
// data direction: a new client's are parport_pc's start state. What that
// does to the module is noted as the port driver's, not counted.
TEST_F(ParportModelTest, AClaimGivesTheClaimantItsOwnControlLines) {
  const int first = vparport::OpenClient(port_);
  const int second = vparport::OpenClient(port_);
  ASSERT_EQ(Request(first, PPCLAIM), 0);
  EXPECT_EQ(ReadByte(first, PPRCONTROL), 0x0C);
  EXPECT_EQ(port_.lcd.bus.control_register, 0x0C);
  EXPECT_EQ(WriteByte(first, PPWCONTROL, 0x0D), 0);  // E falls alone, ending the read
  EXPECT_EQ(WriteByte(first, PPWCONTROL, 0x0B), 0);
  EXPECT_EQ(Request(first, PPDATADIR, 1), 0);
  EXPECT_EQ(Request(first, PPRELEASE), 0);
  ASSERT_EQ(Request(second, PPCLAIM), 0);
  EXPECT_EQ(ReadByte(second, PPRCONTROL), 0x0C);
  EXPECT_EQ(port_.lcd.bus.control_register, 0x0C);  // the data lines driven again
  EXPECT_EQ(Request(second, PPRELEASE), 0);
  ASSERT_EQ(Request(first, PPCLAIM), 0);
  EXPECT_EQ(ReadByte(first, PPRCONTROL), 0x0B);
  EXPECT_EQ(port_.lcd.bus.control_register, 0x2B);  // as it left them: data lines inputs
  EXPECT_EQ(port_.lcd.traffic.violation_count, 0);
  EXPECT_EQ(port_.lcd.findings.by_rule, (std::array<int64_t, vlcd::kRules>{}));
  EXPECT_EQ(port_.lcd.findings.claims_that_broke_rules, 3);
  EXPECT_EQ(port_.lcd.traffic.instructions + port_.lcd.traffic.data_bytes, 0);
}

// A program's first write ends the read the claim began, and no program
// handed the port so can keep RS and R/W held as E falls or wait out that
// read before its first byte: both are the system's. What the program
// breaks afterwards is its own.
TEST_F(ParportModelTest, WhatEndingTheClaimsCycleBreaksIsTheSystems) {
  const int client = vparport::OpenClient(port_);
  ASSERT_EQ(Request(client, PPCLAIM), 0);
  step_ns = 1000;  // the writes below follow at once, as lcd4linux's do
  EXPECT_EQ(WriteByte(client, PPWDATA, 0x30), 0);
  EXPECT_EQ(WriteByte(client, PPWCONTROL, 0x0B), 0);  // E, R/W and RS fall together: a
  // data read ends, which keeps the controller busy 37 us; the byte 2 us later is early by 35
  EXPECT_EQ(WriteByte(client, PPWCONTROL, 0x0A), 0);  // a write cycle at once
  EXPECT_EQ(WriteByte(client, PPWCONTROL, 0x0B), 0);
  EXPECT_EQ(port_.lcd.traffic.violation_count, 0);
  EXPECT_EQ(port_.lcd.findings.after_claim_count, 2);
  EXPECT_EQ(port_.lcd.findings.after_claim,
            "RS or R/W changed as E fell, held 0 of 10 ns (write 3); instruction 0x30 (byte 1) "
            "latched 35000 ns before the controller was ready");
  // The same as the program's own: counted.
  EXPECT_EQ(WriteByte(client, PPWCONTROL, 0x0E), 0);  // E rises, RS high
  EXPECT_EQ(WriteByte(client, PPWCONTROL, 0x0B), 0);  // RS falls with E
  EXPECT_EQ(port_.lcd.findings.after_claim_count, 2);
  EXPECT_GE(port_.lcd.traffic.violation_count, 1);
}

}  // namespace
