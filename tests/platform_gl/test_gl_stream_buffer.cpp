// The stream buffer that draws from client memory go through: every copy must land inside the
// buffer's storage and keep its bytes, however the copies before it ended. Runs with a real
// OpenGL context under Xvfb, once with persistently mapped storage (when the driver has it) and
// once with plain buffer data; without a display the tests skip.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gpu/gl/gl_api.h"
#include "platform/gpu/gl/gl_stream_buffer.h"

using namespace gpu;

namespace {

class GlStreamBufferTest : public ::testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite() {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
        window_ = SDL_CreateWindow("stream test", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window_) return;
        context_ = SDL_GL_CreateContext(window_);
        if (!context_ || SDL_GL_MakeCurrent(window_, context_) != 0 || !Gl().Load()) {
            if (context_) SDL_GL_DeleteContext(context_);
            context_ = nullptr;
        }
    }
    static void TearDownTestSuite() {
        if (context_) SDL_GL_DeleteContext(context_);
        context_ = nullptr;
        if (window_) SDL_DestroyWindow(window_);
        window_ = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    void SetUp() override {
        if (!context_) GTEST_SKIP() << "no OpenGL display (run under xvfb-run)";
        saved_ = Gl();
        // The plain path is what a driver without persistent mappings takes.
        if (!GetParam()) Gl().BufferStorage = nullptr;
        if (GetParam() && !Gl().BufferStorage) GTEST_SKIP() << "no persistent buffer storage";
    }
    void TearDown() override {
        if (context_) Gl() = saved_;
    }

    // Reads `bytes` at `offset` back from the buffer bound to GL_ARRAY_BUFFER.
    static std::vector<uint8_t> ReadBack(uintptr_t offset, uint32_t bytes) {
        std::vector<uint8_t> out(bytes);
        auto getSubData = reinterpret_cast<PFNGLGETBUFFERSUBDATAPROC>(SDL_GL_GetProcAddress("glGetBufferSubData"));
        if (getSubData)
            getSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes), out.data());
        return out;
    }

    GlApi saved_;
    static SDL_Window* window_;
    static SDL_GLContext context_;
};

SDL_Window* GlStreamBufferTest::window_ = nullptr;
SDL_GLContext GlStreamBufferTest::context_ = nullptr;

// Copies of these sizes one after another; each must lie within the storage, start on a 16-byte
// boundary and read back as written.
struct WriteSequence {
    const char* name;
    uint32_t capacity;
    std::vector<uint32_t> sizes;
};

const WriteSequence kSequences[] = {
    // The buffer filled exactly to its end, then a small copy.
    {"FilledToTheEnd", 1024, {256, 256, 256, 256, 16, 16}},
    // The last copy ends a few bytes short of the end: its aligned successor starts at the end.
    {"EndsJustShortOfTheEnd", 1024, {512, 500, 16, 28, 28}},
    // Odd sizes that wander across both halves for several laps.
    {"OddSizesForSeveralLaps", 1024, {100, 220, 36, 300, 12, 500, 4, 250, 250, 250, 250, 7, 9, 490, 16, 510}},
    // A copy larger than half (then the whole) of the storage makes it grow.
    {"CopyLargerThanTheStorage", 256, {100, 200, 600, 40, 1500, 8}},
};

TEST_P(GlStreamBufferTest, EveryCopyLandsInsideTheStorageAndKeepsItsBytes) {
    for (const WriteSequence& seq : kSequences) {
        SCOPED_TRACE(seq.name);
        GlStreamBuffer buffer(GL_ARRAY_BUFFER, seq.capacity);
        uint8_t fill = 1;
        for (size_t i = 0; i < seq.sizes.size(); ++i) {
            SCOPED_TRACE("copy " + std::to_string(i));
            const std::vector<uint8_t> data(seq.sizes[i], fill++);
            uintptr_t offset = ~uintptr_t{0};
            ASSERT_TRUE(buffer.Write(data.data(), static_cast<uint32_t>(data.size()), &offset));
            EXPECT_EQ(offset % 16, 0u);
            ASSERT_LE(offset + data.size(), buffer.Capacity());
            EXPECT_EQ(ReadBack(offset, static_cast<uint32_t>(data.size())), data);
        }
        buffer.Release(true);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(Storage, GlStreamBufferTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Persistent" : "Plain");
                         });

} // namespace
