#include "app/RecordBlink.h"

#include <gtest/gtest.h>

#include <string>

namespace app {
namespace {

TEST(RecordBlinkTest, AlternatesWhileRecordingAndEndsOnTheTickAfterAStop) {
    RecordBlink blink;
    EXPECT_EQ(std::string(blink.Start()), "file='MacroRecord1.png' mask='0xffffffff' ");
    std::string shown;
    for (int i = 0; i < 3; ++i) {
        const RecordBlink::Tick tick = blink.OnTimer();
        EXPECT_FALSE(tick.stopTimer);
        shown += std::string(tick.image).substr(6, 13) + ";";
    }
    EXPECT_EQ(shown, "MacroRecord2.;MacroRecord1.;MacroRecord2.;");
    EXPECT_EQ(std::string(blink.RequestStop()), RecordBlink::kFirstImage);
    const RecordBlink::Tick last = blink.OnTimer();
    EXPECT_TRUE(last.stopTimer);
    EXPECT_EQ(std::string(last.image), RecordBlink::kFirstImage);
    EXPECT_EQ(blink.Current(), RecordBlink::State::Idle);
    EXPECT_TRUE(blink.OnTimer().stopTimer);
}

}  // namespace
}  // namespace app
