// The live view as a terminal shows it: the cursor where the module shows
// it (underlined; in reverse while a blinking cursor shows its block), and
// once the program has ended the screen it showed before a final clear.
#include "live_view.h"

#include <gtest/gtest.h>

namespace {

vparport::LiveSnapshot TwoByOne() {
  vparport::LiveSnapshot snapshot;
  snapshot.module.chip = vlcd::Chip::HD44780;
  snapshot.module.columns = 2;
  snapshot.module.rows = 1;
  snapshot.controller.chip = vlcd::Chip::HD44780;
  snapshot.controller.ddram[0] = 'H';
  snapshot.controller.ddram[1] = 'i';
  snapshot.controller.display_on = true;
  snapshot.controller.address = 1;
  return snapshot;
}

TEST(LiveViewTest, TheCursorAndAClearedScreen) {
  const std::string summary =
      "ROM A00: 0 bytes (0 instructions, 0 data) in 0.00 ms, 0 timing "
      "violations\n";
  vparport::LiveSnapshot snapshot = TwoByOne();
  EXPECT_EQ(vparport::LiveFrame(snapshot, 0), "┌──┐\n│Hi│\n└──┘\n" + summary);
  snapshot.controller.cursor_on = true;
  EXPECT_EQ(vparport::LiveFrame(snapshot, 0), "┌──┐\n│H\x1b[4mi\x1b[0m│\n└──┘\n" + summary);
  snapshot.controller.blink_on = true;
  // The block at the blink's first phase, the character alone at its second.
  EXPECT_EQ(vparport::LiveFrame(snapshot, 0), "┌──┐\n│H\x1b[4m\x1b[7mi\x1b[0m│\n└──┘\n" + summary);
  EXPECT_EQ(vparport::LiveFrame(snapshot, 380'000'000),
            "┌──┐\n│H\x1b[4mi\x1b[0m│\n└──┘\n" + summary);
  // Cleared as the program ended: live, the blank module; at the end, the
  // screen before the clear, said so.
  vparport::LiveSnapshot cleared = TwoByOne();
  cleared.cleared = true;
  cleared.before_clear = cleared.controller;
  cleared.controller.ddram[0] = ' ';
  cleared.controller.ddram[1] = ' ';
  EXPECT_EQ(vparport::LiveFrame(cleared, 0), "┌──┐\n│  │\n└──┘\n" + summary);
  EXPECT_EQ(vparport::LiveFrame(cleared, 0, true),
            "┌──┐\n│Hi│\n└──┘\n(the program cleared the module as it ended; this is the screen "
            "before)\n" +
                summary);
}

}  // namespace
