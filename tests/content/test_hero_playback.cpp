// The shipped hero, "mesh\hero.ams", played the way the racket plays it: loaded, scaled by 0.02,
// its 25 channels set up from the channel table, then every channel started in turn and the
// channels the racket plays together blended, frame by frame. Nothing may be logged, the skinned
// figure must stay finite and whole, the attachment points must stay with their bones, and a
// channel stopped with a fade must fade to nothing. Also the facts the racket builds on: which way
// the figure faces, where the footsteps fall and the parked walk's travel.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/log.h"
#include "render/mesh/hero_channels.h"
#include "render/mesh/skel_channels.h"
#include "render/mesh/skel_instance.h"
#include "render/mesh/skel_mesh.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr float kScale = 0.02f; // the racket's scale: the figure is about 2 units tall
constexpr float kRate = 100.0f; // the racket's animation rate
constexpr float kFrame = 0.02f; // 50 frames a second

double Det3(const double m[3][3]) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

YVector Sub(const YVector& a, const YVector& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

float Length(const YVector& v) { return std::sqrt(v.Dot(v)); }

// Checks that an attachment point moves with the vertices of its bone. Four of the bone's
// positions, far apart and not in one plane, are noted together with the point and its axes in a
// reference pose; in any later pose the map that takes the four positions to where they are now
// (an affine map: blended rotations need not be unit length) must take the point and its axes to
// where the attachment's matrix puts them.
class AttachmentFollower {
public:
    AttachmentFollower(const YSkelMeshInstance& hero, int attachment) : attachment_(attachment) {
        const YSkelMesh& mesh = *hero.skeleton;
        const YBone& bone = mesh.bones[static_cast<std::size_t>(mesh.attachments[attachment].bone)];
        std::vector<int> groups;
        // Only positions that follow the bone alone move rigidly with it (near a joint the skin
        // blends two bones).
        for (const YBoneInfluence& inf : bone.influences)
            if (inf.weight == 1.0f) groups.push_back(inf.group);
        // Spread out: the first, the farthest from it, the farthest from their line, the farthest
        // from their plane.
        auto pos = [&](int g) { return GroupPosition(hero, g); };
        group_[0] = groups.front();
        group_[1] = *std::max_element(groups.begin(), groups.end(), [&](int a, int b) {
            return Length(Sub(pos(a), pos(group_[0]))) < Length(Sub(pos(b), pos(group_[0])));
        });
        const YVector u = Sub(pos(group_[1]), pos(group_[0]));
        auto offLine = [&](int g) { return Length(Cross(u, Sub(pos(g), pos(group_[0])))); };
        group_[2] =
            *std::max_element(groups.begin(), groups.end(), [&](int a, int b) { return offLine(a) < offLine(b); });
        const YVector n = Cross(u, Sub(pos(group_[2]), pos(group_[0])));
        auto offPlane = [&](int g) { return std::fabs(n.Dot(Sub(pos(g), pos(group_[0])))); };
        group_[3] =
            *std::max_element(groups.begin(), groups.end(), [&](int a, int b) { return offPlane(a) < offPlane(b); });
        for (int i = 0; i < 4; ++i) reference_[i] = pos(group_[i]);
        referenceMatrix_ = hero.attachments[static_cast<std::size_t>(attachment)];
    }

    // How far the point is from where its bone's vertices put it (its axes count as well), and
    // how far it has moved from the reference.
    struct Result {
        float error;
        float moved;
    };
    Result Check(const YSkelMeshInstance& hero) const {
        YVector now[4];
        for (int i = 0; i < 4; ++i) now[i] = GroupPosition(hero, group_[i]);
        // A maps the reference differences onto today's: A = Q R^-1, by Cramer's rule per row.
        double r[3][3], q[3][3];
        for (int c = 0; c < 3; ++c) {
            const YVector dr = Sub(reference_[c + 1], reference_[0]);
            const YVector dq = Sub(now[c + 1], now[0]);
            r[0][c] = dr.x, r[1][c] = dr.y, r[2][c] = dr.z;
            q[0][c] = dq.x, q[1][c] = dq.y, q[2][c] = dq.z;
        }
        const double det = Det3(r);
        auto apply = [&](const YVector& v) {
            // Solve R w = v, then A v = Q w.
            double w[3];
            for (int c = 0; c < 3; ++c) {
                double m[3][3];
                for (int i = 0; i < 3; ++i)
                    for (int j = 0; j < 3; ++j) m[i][j] = j == c ? (i == 0 ? v.x : i == 1 ? v.y : v.z) : r[i][j];
                w[c] = Det3(m) / det;
            }
            YVector out;
            out.x = static_cast<float>(q[0][0] * w[0] + q[0][1] * w[1] + q[0][2] * w[2]);
            out.y = static_cast<float>(q[1][0] * w[0] + q[1][1] * w[1] + q[1][2] * w[2]);
            out.z = static_cast<float>(q[2][0] * w[0] + q[2][1] * w[1] + q[2][2] * w[2]);
            return out;
        };
        const YMatrix& m = hero.attachments[static_cast<std::size_t>(attachment_)];
        const YMatrix& m0 = referenceMatrix_;
        const YVector origin0(m0.m[12], m0.m[13], m0.m[14]);
        const YVector origin(m.m[12], m.m[13], m.m[14]);
        float error = Length(Sub(origin, now[0] + apply(Sub(origin0, reference_[0]))));
        for (int axis = 0; axis < 3; ++axis) {
            const YVector a0(m0.m[axis * 4], m0.m[axis * 4 + 1], m0.m[axis * 4 + 2]);
            const YVector a(m.m[axis * 4], m.m[axis * 4 + 1], m.m[axis * 4 + 2]);
            error = std::max(error, Length(Sub(a, apply(a0))) * 0.1f); // a unit axis against a 2-unit figure
        }
        return {error, Length(Sub(origin, origin0))};
    }

    static YVector GroupPosition(const YSkelMeshInstance& hero, int group) {
        const YPositionGroup& g = hero.skeleton->positionGroups[static_cast<std::size_t>(group)];
        return hero.vertices[static_cast<std::size_t>(g.vertices[0])].pos;
    }

private:
    static YVector Cross(const YVector& a, const YVector& b) {
        return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    }

    int attachment_;
    int group_[4] = {};
    YVector reference_[4];
    YMatrix referenceMatrix_;
};

class HeroPlayback : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path source = fs::path(KORVELIN_GAME_DIR) / "mesh" / "hero.ams";
        ASSERT_TRUE(fs::is_regular_file(source)) << source << " is missing (build the game_data target)";
        // Loading writes the binary cache beside the model, so it runs in a scratch copy.
        scratch_.MakeDir("mesh");
        fs::copy_file(source, scratch_.Path() / "mesh" / "hero.ams");
        LogReopen(scratch_.File("log.txt"));

        // The racket's set-up of its figure.
        mesh_ = GetSkelMesh("mesh\\hero.ams");
        ASSERT_EQ(mesh_->bones.size(), std::size_t(HERO_BONE_COUNT));
        ASSERT_EQ(mesh_->poses.size(), std::size_t(HERO_POSE_COUNT));
        ASSERT_EQ(mesh_->attachments.size(), std::size_t(HERO_ATTACHMENT_COUNT));
        mesh_->Scale(kScale);
        for (const HeroAnimation& a : HERO_ANIMATIONS)
            mesh_->poseLists.push_back(MakeIntRange(a.firstPose, a.poseCount));
        for (std::size_t c = 0; c < HERO_CHANNELS.size(); ++c) {
            const HeroChannelSetup& ch = HERO_CHANNELS[c];
            const int32_t channel = static_cast<int32_t>(c);
            mesh_->SetChannel(channel, ch.syncChannel, ch.animation, ch.weight, ch.fadeIn, ch.fadeOut, ch.loop,
                              HERO_CHANNEL_REWIND);
            if (ch.boneWeights) mesh_->SetChannelBoneWeights(channel, ch.boneWeights);
        }
        // The parked walk's travel goes into the racket's turning table, out of the poses.
        for (int32_t p : mesh_->poseLists[HERO_CHANNELS[ChannelNumber(HeroChannel::ParkedWalk)].animation]) {
            parkedTravel_.push_back(mesh_->poses[static_cast<std::size_t>(p)].rootOffset.y);
            mesh_->poses[static_cast<std::size_t>(p)].rootOffset.y = 0;
        }

        hero_ = std::make_unique<YSkelMeshInstance>(mesh_);
        hero_->rate = kRate;
        hero_->SetPose(0, false);
        hero_->StartChannel(ChannelNumber(HeroChannel::Stand), -1, -1);
        for (int a = 0; a < HERO_ATTACHMENT_COUNT; ++a) followers_.emplace_back(*hero_, a);
        moved_.assign(HERO_ATTACHMENT_COUNT, 0.0f);
    }

    void TearDown() override {
        hero_.reset();
        delete mesh_; // leaves the mesh cache
        LogReopen("");
    }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::istringstream in(scratch_.Read("log.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // One frame of the racket's update, then the checks on the skinned figure. Returns false (and
    // records the failure) at the first frame that goes wrong, so a broken model reports once.
    bool Frame(float dt = kFrame) {
        hero_->UpdateChannels(dt);
        hero_->UpdatePose();
        for (const YVertex& v : hero_->vertices) {
            const bool finite = std::isfinite(v.pos.x) && std::isfinite(v.pos.y) && std::isfinite(v.pos.z) &&
                                std::isfinite(v.normal.x) && std::isfinite(v.normal.y) && std::isfinite(v.normal.z);
            if (!finite) {
                ADD_FAILURE() << "a skinned vertex is not finite";
                return false;
            }
            // The figure stays where it stands, about its own size: nothing flies off or collapses.
            if (std::fabs(v.pos.x) > 2.5f || std::fabs(v.pos.y) > 2.5f || v.pos.z < -0.6f || v.pos.z > 2.6f) {
                ADD_FAILURE() << "a skinned vertex left the figure's box: " << v.pos.x << ", " << v.pos.y << ", "
                              << v.pos.z;
                return false;
            }
        }
        for (int a = 0; a < HERO_ATTACHMENT_COUNT; ++a) {
            const AttachmentFollower::Result r = followers_[static_cast<std::size_t>(a)].Check(*hero_);
            if (!(r.error < 2e-3f)) {
                ADD_FAILURE() << "attachment " << a << " is " << r.error << " away from where its bone puts it";
                return false;
            }
            moved_[static_cast<std::size_t>(a)] = std::max(moved_[static_cast<std::size_t>(a)], r.moved);
        }
        return true;
    }

    // Frames for `seconds`; false at the first failing frame.
    bool Play(float seconds) {
        for (float t = 0; t < seconds; t += kFrame)
            if (!Frame()) return false;
        return true;
    }

    const YAnimChannelState& State(int channel) const { return hero_->channels[static_cast<std::size_t>(channel)]; }

    // Stops the channels with a fade of `fade` seconds and plays on: their weights only fall, and
    // they are stopped at weight 0 once the fade is over.
    void ExpectFadesOut(std::initializer_list<int> stopped, float fade) {
        for (int channel : stopped) hero_->StopChannel(channel, fade);
        std::vector<float> last;
        for (int channel : stopped) last.push_back(State(channel).effectiveWeight);
        for (float t = 0; t < fade + 2 * kFrame; t += kFrame) {
            if (!Frame()) return;
            std::size_t i = 0;
            for (int channel : stopped) {
                EXPECT_LE(State(channel).effectiveWeight, last[i] + 1e-6f) << "channel " << channel;
                last[i++] = State(channel).effectiveWeight;
            }
        }
        for (int channel : stopped) {
            EXPECT_EQ(State(channel).state, CHANNEL_STOPPED) << "channel " << channel;
            EXPECT_EQ(State(channel).effectiveWeight, 0.0f) << "channel " << channel;
        }
    }

    testsupport::TempDir scratch_{true};
    YSkelMesh* mesh_ = nullptr;
    std::unique_ptr<YSkelMeshInstance> hero_;
    std::vector<float> parkedTravel_;
    std::vector<AttachmentFollower> followers_;
    std::vector<float> moved_; // per attachment, the farthest it got from the reference pose
};

TEST_F(HeroPlayback, EveryChannelPlaysOverTheStandAndFadesOut) {
    for (int channel = 1; channel < int(HERO_CHANNELS.size()); ++channel) {
        const HeroChannelSetup& ch = HERO_CHANNELS[static_cast<std::size_t>(channel)];
        SCOPED_TRACE(::testing::Message()
                     << "channel " << channel << ": " << HERO_ANIMATIONS[static_cast<std::size_t>(ch.animation)].what);
        // A channel that follows another's timing plays only while its leader runs; the racket
        // starts the leader as well, at whatever weight the blend gives it.
        if (ch.syncChannel >= 0) hero_->StartChannel(ch.syncChannel, -1, 0.0f);
        hero_->StartChannel(channel, -1, -1);
        ASSERT_NE(State(channel).state, CHANNEL_STOPPED) << "the channel did not start";
        ASSERT_TRUE(Play(1.0f));
        if (ch.loop) {
            EXPECT_NE(State(channel).state, CHANNEL_STOPPED) << "a looping channel ran out";
        }
        // A follower copies its leader's state each frame, so it fades out together with it.
        if (ch.syncChannel >= 0)
            ExpectFadesOut({ch.syncChannel, channel}, 0.25f);
        else if (State(channel).state != CHANNEL_STOPPED)
            ExpectFadesOut({channel}, 0.25f);
        ASSERT_TRUE(Play(0.1f));
        for (int other = 1; other < int(HERO_CHANNELS.size()); ++other)
            ASSERT_EQ(State(other).state, CHANNEL_STOPPED) << "channel " << other << " still plays";
    }
    ExpectFadesOut({0}, HERO_CHANNELS[0].fadeOut);
    for (int a = 0; a < HERO_ATTACHMENT_COUNT; ++a)
        EXPECT_GT(moved_[static_cast<std::size_t>(a)], 0.1f) << "attachment " << a << " never moved";
    EXPECT_EQ(LogLines(), std::vector<std::string>{"Load skeleton mesh file mesh\\hero.ams"});
}

TEST_F(HeroPlayback, ChannelsTheRacketPlaysTogetherBlend) {
    // Two channels at once (a negative weight takes the channel's own), over two seconds; the
    // first is stopped with its default fade halfway. Leaders of synced channels come first.
    struct Pair {
        const char* what;
        HeroChannel a;
        float weightA;
        HeroChannel b;
        float weightB;
    };
    const Pair pairs[] = {
        {"slow walk into walk", HeroChannel::SlowWalk, 0.5f, HeroChannel::Walk, 0.5f},
        {"walk into a run towards +x", HeroChannel::SlowWalk, 0.0f, HeroChannel::RunTowardsPlusX, 1.0f},
        {"walk into a run towards -x", HeroChannel::SlowWalk, 0.0f, HeroChannel::RunTowardsMinusX, 1.0f},
        {"walking while holding", HeroChannel::SlowWalk, 1.0f, HeroChannel::Holding, -1},
        {"a hit from the left, half strong", HeroChannel::HitLeftStrong, 3.5f, HeroChannel::HitLeftWeak, 3.5f},
        {"a hit from the right, mostly strong", HeroChannel::HitRightStrong, 5.0f, HeroChannel::HitRightWeak, 2.0f},
        {"catching, then holding", HeroChannel::Catching, -1, HeroChannel::Holding, -1},
        {"throwing the bomb from the hands", HeroChannel::Holding, -1, HeroChannel::BombThrown, -1},
        {"throwing the boomerang while walking", HeroChannel::SlowWalk, 1.0f, HeroChannel::BoomerThrown, -1},
        {"throwing a grenade while walking", HeroChannel::SlowWalk, 1.0f, HeroChannel::GrenadeThrown, -1},
        {"catching the boomerang while walking", HeroChannel::SlowWalk, 1.0f, HeroChannel::BoomerCaught, -1},
        {"an idle gesture while holding", HeroChannel::Holding, -1, HeroChannel::IdleLookRound, -1},
        {"another idle gesture while holding", HeroChannel::Holding, -1, HeroChannel::IdleStretchBack, -1},
        {"scratching the head while walking slowly", HeroChannel::SlowWalk, 0.5f, HeroChannel::IdleScratchHead, -1},
        {"stumbling while walking", HeroChannel::SlowWalk, 1.0f, HeroChannel::SlipForward, -1},
        {"stumbling backward while walking", HeroChannel::SlowWalk, 1.0f, HeroChannel::SlipBackward, -1},
        {"stumbling sideways while walking", HeroChannel::SlowWalk, 1.0f, HeroChannel::SlipSideways, -1},
        {"the ball lost while walking", HeroChannel::SlowWalk, 1.0f, HeroChannel::BallLost, -1},
        {"standing with the pipe", HeroChannel::Stand, 1.0f, HeroChannel::StandingWithPipe, -1},
        {"parked walk", HeroChannel::Stand, 1.0f, HeroChannel::ParkedWalk, -1},
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.what);
        hero_->StartChannel(ChannelNumber(p.a), -1, p.weightA);
        hero_->StartChannel(ChannelNumber(p.b), -1, p.weightB);
        ASSERT_TRUE(Play(1.0f));
        hero_->StopChannel(ChannelNumber(p.a), -1);
        ASSERT_TRUE(Play(1.0f));
        hero_->StopChannel(ChannelNumber(p.b), -1);
        hero_->StartChannel(ChannelNumber(HeroChannel::Stand), -1, 1.0f);
        ASSERT_TRUE(Play(1.0f));
        for (int other = 1; other < int(HERO_CHANNELS.size()); ++other)
            ASSERT_EQ(State(other).state, CHANNEL_STOPPED) << "channel " << other << " still plays";
    }
    EXPECT_EQ(LogLines(), std::vector<std::string>{"Load skeleton mesh file mesh\\hero.ams"});
}

TEST_F(HeroPlayback, FigureFacesMinusYWithItsRightHandAtMinusX) {
    // The racket turns the figure half round to face the table (+y), launches from the front and
    // takes a ball on the figure's left (-x after the turn) with channels 7 and 8.
    const YMatrix& hold = hero_->attachments[HERO_HOLD];
    EXPECT_LT(hold.m[13], -0.4f) << "the hold point is in front of the chest";
    EXPECT_NEAR(hold.m[12], 0.0f, 1e-4f);
    EXPECT_LT(hero_->attachments[HERO_HAND].m[12], -0.2f);
    EXPECT_LT(hero_->attachments[HERO_GRIP].m[12], -0.2f);
    // The pipe's stem (the attachment's x axis) points forward.
    const YMatrix& mouth = hero_->attachments[HERO_MOUTH];
    EXPECT_LT(mouth.m[1], -0.99f);
    EXPECT_LT(mouth.m[13], -0.1f);

    // The left arm swings the hit of channel 7, the right arm that of channel 9: the hand in
    // front at the height of the swing is on that side.
    for (const auto& [channel, side] :
         {std::pair{HeroChannel::HitLeftStrong, 1.0f}, std::pair{HeroChannel::HitRightStrong, -1.0f}}) {
        SCOPED_TRACE(::testing::Message() << "channel " << ChannelNumber(channel));
        hero_->StartChannel(ChannelNumber(channel), -1, -1);
        float frontmost = 0, frontX = 0;
        for (float t = 0; t < 0.3f && Frame(); t += kFrame)
            for (const YVertex& v : hero_->vertices)
                if (v.pos.y < frontmost && v.pos.z > 0.8f) {
                    frontmost = v.pos.y;
                    frontX = v.pos.x;
                }
        EXPECT_LT(frontmost, -0.4f);
        EXPECT_GT(frontX * side, 0.1f);
    }
}

TEST_F(HeroPlayback, FootstepsFallWhenTheSlowWalkMovesOnToKeysZeroAndThree) {
    // Channel 1 alone, sampled finely over three cycles. The racket plays a step when the channel
    // moves on to key 0 or key 3: then a foot must be at its furthest forward (-y), the left one
    // at key 0 and the right one at key 3.
    hero_->StopChannel(ChannelNumber(HeroChannel::Stand), 0.0f);
    hero_->StartChannel(ChannelNumber(HeroChannel::SlowWalk), 0.0f, 1.0f);
    auto footY = [&](int bone) {
        float sum = 0;
        int n = 0;
        for (const YBoneInfluence& inf : mesh_->bones[static_cast<std::size_t>(bone)].influences) {
            sum += AttachmentFollower::GroupPosition(*hero_, inf.group).y;
            ++n;
        }
        return sum / float(n);
    };
    struct Sample {
        int position;
        float left, right;
    };
    std::vector<Sample> samples;
    const float step = 0.002f;
    const float cycle = 6 * float(mesh_->poses[HERO_ANIMATIONS[1].firstPose].frames) / kRate;
    for (float t = 0; t < 3 * cycle; t += step) {
        ASSERT_TRUE(Frame(step));
        samples.push_back({State(1).position, footY(HERO_LEFT_SHIN), footY(HERO_RIGHT_SHIN)});
    }
    float minLeft = 0, maxLeft = -10, minRight = 0;
    for (const Sample& s : samples) {
        minLeft = std::min(minLeft, s.left);
        maxLeft = std::max(maxLeft, s.left);
        minRight = std::min(minRight, s.right);
    }
    ASSERT_GT(maxLeft - minLeft, 0.1f) << "the legs swing";
    int footfalls[2] = {0, 0};
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i].position == samples[i - 1].position) continue;
        if (samples[i].position == 0) {
            ++footfalls[0];
            EXPECT_NEAR(samples[i].left, minLeft, 0.005f) << "the left foot is forward at key 0";
        } else if (samples[i].position == 3) {
            ++footfalls[1];
            EXPECT_NEAR(samples[i].right, minRight, 0.005f) << "the right foot is forward at key 3";
        }
    }
    EXPECT_GE(footfalls[0], 2);
    EXPECT_GE(footfalls[1], 2);
}

TEST_F(HeroPlayback, ParkedWalkCarriesItsTravelInTheRootOffset) {
    // What the racket moved into its turning table: the distance walked since the cycle began,
    // forward (-y), growing key by key to one stride of about a unit.
    ASSERT_EQ(parkedTravel_.size(), std::size_t(HERO_ANIMATIONS[ChannelNumber(HeroChannel::ParkedWalk)].poseCount));
    float last = 0;
    for (float travel : parkedTravel_) {
        EXPECT_LT(travel, last);
        last = travel;
    }
    EXPECT_GT(last, -1.5f);
    EXPECT_LT(last, -0.5f);
    // No other pose moves the figure off its place: every root offset is straight above it.
    for (const YSkelPose& pose : mesh_->poses) {
        EXPECT_EQ(pose.rootOffset.x, 0.0f);
        EXPECT_EQ(pose.rootOffset.y, 0.0f);
    }
}

} // namespace
