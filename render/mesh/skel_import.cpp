#include "render/mesh/skel_import.h"

#include <cstdint>
#include <string>

#include "core/log.h"

namespace {

class SkeletonReader {
public:
    SkeletonReader(YMeshTextReader& in, YSkelData& skel) : in_(in), skel_(skel) {}

    bool Read(std::size_t positionGroups) {
        if (in_.Word() == "sceleton") in_.Word();
        int32_t count = 0;
        if (!Count(count, 9)) return false;
        skel_.bones.resize(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < skel_.bones.size(); ++i) {
            YBone& bone = skel_.bones[i];
            if (!Int(bone.id) || !Int(bone.parent)) return false;
            if (bone.parent >= static_cast<int64_t>(i)) return Refuse(std::to_string(bone.parent));
            if (!Vector(bone.offset) || !Quat(bone.rotation)) return false;
        }
        const std::size_t boneCount = skel_.bones.size();

        in_.Word();
        if (!Count(count, 9)) return false;
        skel_.attachments.resize(static_cast<std::size_t>(count));
        for (YSkelAttachment& a : skel_.attachments) {
            YVector offset;
            YQuat q;
            if (!Int(a.id) || !Index(a.bone, boneCount) || !Vector(offset) || !Quat(q)) return false;
            a.local = QuatToMatrix(q, offset);
        }

        in_.Word();
        in_.Word();
        for (std::size_t g = 0; g < positionGroups; ++g) {
            int32_t c = 0;
            if (!Int(c)) return false;
            if (c == 0) {
                if (boneCount == 0) return Refuse("0");
                skel_.bones[0].influences.push_back({static_cast<int32_t>(g), 1.0f});
                continue;
            }
            if (!in_.CouldHold(c, 2)) return Refuse(std::to_string(c));
            for (int32_t k = 0; k < c; ++k) {
                int32_t bone = 0;
                float weight = 0;
                if (!Index(bone, boneCount) || !Real(weight)) return false;
                skel_.bones[bone].influences.push_back({static_cast<int32_t>(g), weight});
            }
        }

        in_.Word();
        if (!Count(count, 5 + 4 * static_cast<int>(boneCount))) return false;
        skel_.poses.resize(static_cast<std::size_t>(count));
        int64_t previous = 0;
        for (YSkelPose& pose : skel_.poses) {
            in_.Word();
            int32_t frame = 0;
            if (!Int(frame)) return false;
            const int64_t frames = int64_t(frame) - previous;
            if (frames < INT32_MIN || frames > INT32_MAX) return Refuse(std::to_string(frame));
            pose.frames = static_cast<int32_t>(frames);
            previous = frame;
            if (!Vector(pose.rootOffset)) return false;
            pose.rotations.resize(boneCount);
            for (YQuat& q : pose.rotations)
                if (!Quat(q)) return false;
        }
        return true;
    }

private:
    bool Refuse(const std::string& word) {
        LogPrintf(g_Log, "Error token: %s", word.c_str());
        return false;
    }
    bool Int(int32_t& v) { return in_.Int(v) || Refuse(in_.BadWord()); }
    bool Real(float& v) { return in_.Real(v) || Refuse(in_.BadWord()); }
    bool Vector(YVector& v) { return Real(v.x) && Real(v.y) && Real(v.z); }
    bool Quat(YQuat& q) { return Real(q.x) && Real(q.y) && Real(q.z) && Real(q.w); }
    bool Count(int32_t& n, int wordsEach) {
        return Int(n) && (in_.CouldHold(n, wordsEach) || Refuse(std::to_string(n)));
    }
    bool Index(int32_t& v, std::size_t limit) {
        return Int(v) && ((v >= 0 && static_cast<std::size_t>(v) < limit) || Refuse(std::to_string(v)));
    }

    YMeshTextReader& in_;
    YSkelData& skel_;
};

} // namespace

YMeshImportResult ImportSkeletonText(YMeshTextReader& in, std::size_t positionGroups, YSkelData& skel) {
    skel.ClearSkeleton();
    if (SkeletonReader(in, skel).Read(positionGroups)) return YMeshImportResult::Ok;
    skel.ClearSkeleton();
    return YMeshImportResult::Refused;
}
