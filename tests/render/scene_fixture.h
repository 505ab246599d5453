#pragma once
// A renderer over the null device for the scene tests (particles, sky box, slide show): the log
// goes to a scratch folder, the camera is restored afterwards, both draw queues are emptied, and
// the 15-bit generator starts from a fixed seed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/log.h"
#include "platform/gpu/null/null_device.h"
#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "platform/sys/crt_rand.h"
#include "render/camera.h"
#include "render/draw_list.h"
#include "render/render.h"
#include "render/render_d3d.h"
#include "render/video_mode.h"
#include "support/temp_dir.h"

namespace scenetest {

struct Quad {
    YTexVertex v[4];
};

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("KORVELIN_NO_MESSAGEBOX", "1", 1);
        LogReopen(dir_.File("log.txt"));
        savedCamera_ = g_Camera;
        plat::CrtSrand(1);
    }
    void TearDown() override {
        DrawOpaqueQueue();
        DrawBlendedQueue();
        render_.reset();
        device_.reset();
        g_Camera = savedCamera_;
        LogReopen("");
    }

    // A renderer with a windowed 800 x 600 device, inside a frame.
    gpu::NullDevice& MakeDevice() {
        gpu::NullAdapterScript script;
        script.modes = {gpu::DisplayMode{800, 600, 60, gpu::D3DFMT_X8R8G8B8}};
        auto d3d = std::make_shared<gpu::NullDirect3D>(std::move(script));
        render_ = std::make_unique<Render_D3D>([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });
        std::vector<YVideoMode> modes;
        render_->GetVideoModes(&modes);
        g_VideoModes.Assign(modes);
        EXPECT_TRUE(render_->CreateDevice(nullptr, false, 0));
        device_ = d3d->LastDevice();
        render_->BeginFrame(false);
        device_->ClearTrace();
        return *device_;
    }

    // The textured quads drawn since the trace was last cleared.
    std::vector<Quad> Quads() const {
        std::vector<Quad> quads;
        for (const gpu::NullCall& c : device_->Calls()) {
            if (c.text.rfind("DrawPrimitiveUP(TRIANGLEFAN,2,28)", 0) != 0) continue;
            Quad q;
            EXPECT_EQ(c.vertices.size(), sizeof q.v);
            std::memcpy(q.v, c.vertices.data(), sizeof q.v);
            quads.push_back(q);
        }
        return quads;
    }

    // The quads of strips that join quads by repeated vertices (text, particles): a quad every six
    // vertices, in the order 0 1 3 2, each given back in fan order. `stride` tells the strips of
    // plain textured vertices (28) from those of coloured ones (32, their colours in `colours`).
    std::vector<Quad> StripQuads(uint32_t stride, std::vector<uint32_t>* colours = nullptr) const {
        std::vector<Quad> quads;
        const std::string suffix = "," + std::to_string(stride) + ")";
        for (const gpu::NullCall& c : device_->Calls()) {
            if (c.text.rfind("DrawPrimitiveUP(TRIANGLESTRIP,", 0) != 0 || !c.text.ends_with(suffix)) continue;
            const std::size_t n = c.vertices.size() / stride;
            EXPECT_EQ((n + 2) % 6, 0u) << c.text;
            for (std::size_t first = 0; first + 4 <= n; first += 6) {
                YTexVertex s[4];
                for (int k = 0; k < 4; ++k) {
                    const uint8_t* v = c.vertices.data() + (first + static_cast<std::size_t>(k)) * stride;
                    std::memcpy(&s[k].pos, v, sizeof s[k].pos);
                    std::memcpy(&s[k].uv, v + stride - 16, sizeof s[k].uv);
                    std::memcpy(&s[k].uv2, v + stride - 8, sizeof s[k].uv2);
                    if (stride == 32 && colours && k == 0) {
                        uint32_t argb;
                        std::memcpy(&argb, v + 12, sizeof argb);
                        colours->push_back(argb);
                    }
                }
                Quad q;
                q.v[0] = s[0];
                q.v[1] = s[1];
                q.v[2] = s[3];
                q.v[3] = s[2];
                quads.push_back(q);
            }
        }
        return quads;
    }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::istringstream in(dir_.Read("log.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    int CountLogLines(const std::string& prefix) const {
        int n = 0;
        for (const std::string& l : LogLines()) n += l.rfind(prefix, 0) == 0;
        return n;
    }

    // A small opaque picture file (PNG content; the loader tells the kind by content, whatever
    // the extension) at `relative` ('/' separated) under the working directory.
    static void WritePicture(const std::string& relative) {
        plat::Image img;
        img.Allocate(4, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                uint8_t* p = img.Pixel(x, y);
                p[0] = 200;
                p[1] = 100;
                p[2] = 50;
                p[3] = 255;
            }
        ASSERT_TRUE(plat::SavePng(relative, img, false));
    }

    TempDir dir_;
    YCamera savedCamera_;
    std::shared_ptr<gpu::NullDevice> device_;
    std::unique_ptr<Render_D3D> render_;
};

inline void ExpectNear(const YVector& a, const YVector& b, float tolerance = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

} // namespace scenetest
