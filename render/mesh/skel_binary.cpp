#include "render/mesh/skel_binary.h"

#include <cstdint>

#include "core/log.h"
#include "render/mesh/mesh_binary.h"
#include "render/mesh/mesh_binary_io.h"

namespace {

bool ReadQuat(YMeshBinReader& r, YQuat& q) { return r.F32(q.x) && r.F32(q.y) && r.F32(q.z) && r.F32(q.w); }

bool ReadVector(YMeshBinReader& r, YVector& v) { return r.F32(v.x) && r.F32(v.y) && r.F32(v.z); }

bool ReadSkelFields(YMeshBinReader& r, std::size_t positionGroups, YSkelData& skel) {
    uint32_t n = 0;
    if (!r.Count(n, 40, "bone")) return false;
    skel.bones.resize(n);
    for (std::size_t i = 0; i < skel.bones.size(); ++i) {
        YBone& bone = skel.bones[i];
        if (!r.I32(bone.id) || !r.I32(bone.parent) || !ReadVector(r, bone.offset) || !ReadQuat(r, bone.rotation))
            return false;
        if (bone.parent >= static_cast<int64_t>(i))
            return r.Fail("bone " + std::to_string(i) + " has parent " + std::to_string(bone.parent));
        uint32_t k = 0;
        if (!r.Count(k, 8, "influence") || !r.Array(bone.influences, k)) return false;
        for (const YBoneInfluence& inf : bone.influences)
            if (!InRange(inf.group, positionGroups))
                return r.Fail("position group " + std::to_string(inf.group) + " out of range");
    }
    if (!r.Count(n, 20, "pose")) return false;
    skel.poses.resize(n);
    for (YSkelPose& pose : skel.poses) {
        uint32_t k = 0;
        if (!ReadVector(r, pose.rootOffset) || !r.I32(pose.frames) || !r.U32(k)) return false;
        if (k != skel.bones.size())
            return r.Fail("pose of " + std::to_string(k) + " rotations for " + std::to_string(skel.bones.size()) +
                          " bones");
        if (!r.Array(pose.rotations, k)) return false;
    }
    if (!r.Count(n, 4, "pose list")) return false;
    skel.poseLists.resize(n);
    for (std::vector<int32_t>& list : skel.poseLists) {
        uint32_t k = 0;
        if (!r.Count(k, 4, "pose list entry") || !r.Array(list, k)) return false;
        for (int32_t p : list)
            if (!InRange(p, skel.poses.size())) return r.Fail("pose " + std::to_string(p) + " out of range");
    }
    if (!r.Count(n, 72, "attachment")) return false;
    skel.attachments.resize(n);
    for (YSkelAttachment& a : skel.attachments) {
        if (!r.I32(a.id) || !r.I32(a.bone) || !r.Bytes(a.local.m, sizeof a.local.m)) return false;
        if (!InRange(a.bone, skel.bones.size()))
            return r.Fail("bone index " + std::to_string(a.bone) + " out of range");
    }
    // The end mark; a file that stops before it reads the same.
    if (r.Left() > 0) {
        unsigned char mark = 0;
        r.Bytes(&mark, 1);
    }
    return true;
}

} // namespace

static_assert(sizeof(YQuat) == 16);
static_assert(sizeof(YBoneInfluence) == 8);

void WriteSkelMeshBinary(OutStream& out, const std::string& name, const YMeshData& mesh, const YSkelData& skel) {
    YMeshBinWriter w;
    WriteMeshFields(w, name, mesh);
    w.U32(static_cast<uint32_t>(skel.bones.size()));
    for (const YBone& bone : skel.bones) {
        w.I32(bone.id);
        w.I32(bone.parent);
        w.Bytes(&bone.offset, sizeof bone.offset);
        w.Bytes(&bone.rotation, sizeof bone.rotation);
        w.Array(bone.influences);
    }
    w.U32(static_cast<uint32_t>(skel.poses.size()));
    for (const YSkelPose& pose : skel.poses) {
        w.Bytes(&pose.rootOffset, sizeof pose.rootOffset);
        w.I32(pose.frames);
        w.Array(pose.rotations);
    }
    w.U32(static_cast<uint32_t>(skel.poseLists.size()));
    for (const std::vector<int32_t>& list : skel.poseLists) w.Array(list);
    w.U32(static_cast<uint32_t>(skel.attachments.size()));
    for (const YSkelAttachment& a : skel.attachments) {
        w.I32(a.id);
        w.I32(a.bone);
        w.Bytes(a.local.m, sizeof a.local.m);
    }
    w.Bytes(&SKEL_END_MARK, 1);
    w.WriteTo(out);
}

bool ReadSkelMeshBinary(InStream& in, std::string& name, YMeshData& mesh, YSkelData& skel, const char* fileName) {
    skel.ClearSkeleton();
    if (in.Remaining() > MAX_MESH_CACHE_BYTES) {
        mesh.ClearGeometry();
        name.clear();
        LogPrintf(g_Log, "Error reading mesh file %s: file of %d bytes", fileName ? fileName : "", in.Remaining());
        return false;
    }
    YMeshBinReader r(in);
    if (ReadMeshFields(r, name, mesh) && ReadSkelFields(r, mesh.positionGroups.size(), skel)) return true;
    mesh.ClearGeometry();
    skel.ClearSkeleton();
    name.clear();
    LogPrintf(g_Log, "Error reading mesh file %s: %s", fileName ? fileName : "", r.Reason().c_str());
    return false;
}
