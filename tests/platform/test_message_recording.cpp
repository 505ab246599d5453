#include "platform/window/message_recording.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/window/message_queue.h"
#include "platform/window/win_messages.h"
#include "support/temp_dir.h"

namespace {

using plat::Msg;
using plat::RecordedMessage;

std::vector<Msg> Drain() {
    std::vector<Msg> out;
    Msg m;
    while (plat::PeekMessage(m)) out.push_back(m);
    return out;
}

class MessageRecordingTest : public ::testing::Test {
protected:
    void SetUp() override { plat::ClearMessages(); }
    void TearDown() override { plat::ClearMessages(); }
};

std::vector<RecordedMessage> Session() {
    return {
        {0, {plat::WM_SIZE, plat::SIZE_RESTORED, plat::MakeLParam(800, 600)}},
        {5, {plat::WM_KEYDOWN, plat::VK_RETURN, plat::MakeLParam(1, 0)}},
        {5, {plat::WM_CHAR, 'a', 1}},
        {7, {plat::WM_MOUSEMOVE, 0, plat::PackMousePos(-3, 420)}},
        {9, {plat::WM_MOUSEWHEEL, plat::MakeWParam(0, static_cast<uint16_t>(-120)), plat::PackMousePos(1, 2)}},
        {4000000000u, {plat::WM_KEYUP, ~plat::WPARAM{0}, -1}},
    };
}

TEST_F(MessageRecordingTest, AFormattedSessionReadsBackTheSame) {
    const std::vector<RecordedMessage> session = Session();
    std::vector<RecordedMessage> back;
    std::string error;
    ASSERT_TRUE(plat::ParseRecording(plat::FormatRecording(session), back, error)) << error;
    ASSERT_EQ(back.size(), session.size());
    for (std::size_t i = 0; i < session.size(); ++i) {
        EXPECT_EQ(back[i].timeMs, session[i].timeMs);
        EXPECT_EQ(back[i].msg.message, session[i].msg.message);
        EXPECT_EQ(back[i].msg.wParam, session[i].msg.wParam);
        EXPECT_EQ(back[i].msg.lParam, session[i].msg.lParam);
    }
}

TEST_F(MessageRecordingTest, DamagedRecordingsAreRefusedWhole) {
    const std::string good = plat::FormatRecording(Session());
    auto withMessage = [](uint32_t id) {
        std::vector<RecordedMessage> s = {{0, {plat::WM_CHAR, 'x', 1}}, {1, {id, 0, 0x12345678}}};
        return plat::FormatRecording(s);
    };
    std::string hugeCount = good;
    hugeCount[8] = hugeCount[9] = hugeCount[10] = hugeCount[11] = '\xff';
    std::string backwards = plat::FormatRecording({{5, {plat::WM_CHAR, 'a', 1}}, {4, {plat::WM_CHAR, 'b', 1}}});
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"other magic", "KVINPUT2" + good.substr(8)},
        {"header only, cut", good.substr(0, 10)},
        {"cut in a record", good.substr(0, good.size() - 5)},
        {"a record missing", good.substr(0, good.size() - plat::RECORDED_MESSAGE_BYTES)},
        {"bytes after the end", good + "x"},
        {"count beyond the limit", hugeCount},
        {"sizing message (pointer parameter)", withMessage(plat::WM_SIZING)},
        {"min-max message (pointer parameter)", withMessage(plat::WM_GETMINMAXINFO)},
        {"quit message", withMessage(plat::WM_QUIT)},
        {"times going back", backwards},
    };
    for (const Case& c : cases) {
        std::vector<RecordedMessage> out = {{1, {plat::WM_CHAR, 'z', 1}}};
        std::string error;
        EXPECT_FALSE(plat::ParseRecording(c.bytes, out, error)) << c.what;
        EXPECT_TRUE(out.empty()) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

TEST_F(MessageRecordingTest, FilesThatCannotBeReplayedSayWhy) {
    testsupport::TempDir dir;
    const std::string missing = (dir.Path() / "none.rec").string();
    const std::string big = (dir.Path() / "big.rec").string();
    { std::ofstream(big) << "KVINPUT1"; }
    std::filesystem::resize_file(
        big, plat::RECORDING_HEADER_BYTES + (plat::MAX_RECORDED_MESSAGES + 1) * plat::RECORDED_MESSAGE_BYTES);
    const std::string junk = (dir.Path() / "junk.rec").string();
    { std::ofstream(junk) << "not a recording at all"; }

    for (const std::string& path : {missing, big, junk}) {
        plat::MessageReplayer replayer;
        std::string error;
        EXPECT_FALSE(replayer.Load(path, error)) << path;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_EQ(replayer.Count(), 0u);
    }
}

TEST_F(MessageRecordingTest, TheRecorderNotesWhatIsHandedOutAndTheReplayerPostsItAgain) {
    testsupport::TempDir dir;
    const std::string file = (dir.Path() / "session.rec").string();
    const std::vector<Msg> typed = {
        {plat::WM_KEYDOWN, plat::VK_SHIFT, 1},
        {plat::WM_CHAR, 'H', 1},
        {plat::WM_KEYUP, plat::VK_SHIFT, 1},
        {plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, plat::PackMousePos(10, 20)},
        {plat::WM_LBUTTONUP, 0, 0},
        {plat::WM_KEYDOWN, plat::VK_F10, 1},
    };
    {
        plat::MessageRecorder recorder;
        recorder.Start();
        for (const Msg& m : typed) plat::PostMessage(m.message, m.wParam, m.lParam);
        plat::PostQuitMessage(0);
        const std::vector<Msg> seen = Drain();
        recorder.Stop();
        plat::PostMessage(plat::WM_CHAR, 'n', 1); // after Stop: not noted
        Drain();
        EXPECT_EQ(seen.size(), typed.size() + 1);
        ASSERT_EQ(recorder.Messages().size(), typed.size()) << "the quit message is not input";
        std::string error;
        ASSERT_TRUE(recorder.Save(file, error)) << error;
    }

    plat::MessageReplayer replayer;
    std::string error;
    ASSERT_TRUE(replayer.Load(file, error)) << error;
    replayer.Start();
    EXPECT_TRUE(plat::InputReplayed());
    std::vector<Msg> replayed;
    for (int pass = 0; pass < 2000 && !replayer.Finished(); ++pass) {
        for (const Msg& m : Drain()) replayed.push_back(m);
    }
    for (const Msg& m : Drain()) replayed.push_back(m);
    replayer.Stop();
    EXPECT_FALSE(plat::InputReplayed());
    ASSERT_EQ(replayed.size(), typed.size());
    for (std::size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(replayed[i].message, typed[i].message) << i;
        EXPECT_EQ(replayed[i].wParam, typed[i].wParam) << i;
        EXPECT_EQ(replayed[i].lParam, typed[i].lParam) << i;
    }
}

TEST_F(MessageRecordingTest, ReplayedMessagesWaitForTheirTime) {
    plat::MessageReplayer replayer;
    replayer.Assign({{0, {plat::WM_CHAR, 'a', 1}}, {3600000, {plat::WM_CHAR, 'b', 1}}});
    replayer.Start();
    const std::vector<Msg> now = Drain();
    ASSERT_EQ(now.size(), 1u);
    EXPECT_EQ(now[0].wParam, static_cast<plat::WPARAM>('a'));
    EXPECT_FALSE(replayer.Finished());
    replayer.Stop();
}

TEST_F(MessageRecordingTest, AFullQueueKeepsTheRestForLater) {
    std::vector<RecordedMessage> many(plat::MESSAGE_QUEUE_CAPACITY + 10, RecordedMessage{0, {plat::WM_CHAR, 'x', 1}});
    plat::MessageReplayer replayer;
    replayer.Assign(many);
    replayer.Start();
    EXPECT_EQ(Drain().size(), many.size());
    EXPECT_TRUE(replayer.Finished());
    replayer.Stop();
}

} // namespace
