#include "tools/meshgen/mesh_builder.h"

#include <charconv>

namespace meshgen {

std::string FormatReal(float v) {
    if (v == 0.0f) v = 0.0f; // no "-0"
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, r.ptr);
}

int MeshBuilder::Position(const YVector& p) {
    const auto key = std::make_tuple(p.x + 0.0f, p.y + 0.0f, p.z + 0.0f);
    auto [it, added] = positionIndex_.try_emplace(key, static_cast<int>(positions_.size()));
    if (added) {
        positions_.push_back(p);
        tags_.push_back(tag_);
    }
    return it->second;
}

int MeshBuilder::UV(float u, float v) {
    const auto key = std::make_pair(u + 0.0f, v + 0.0f);
    auto [it, added] = uvIndex_.try_emplace(key, static_cast<int>(uvs_.size()));
    if (added) uvs_.push_back(key);
    return it->second;
}

void MeshBuilder::Tri(const Corner& a, const Corner& b, const Corner& c, int material, uint32_t smooth) {
    Face f;
    const Corner* corners[3] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i) {
        f.p[i] = Position(corners[i]->p);
        f.t[i] = UV(corners[i]->u, corners[i]->v);
    }
    f.material = material;
    f.smooth = smooth;
    faces_.push_back(f);
}

void MeshBuilder::Quad(const Corner& a, const Corner& b, const Corner& c, const Corner& d, int material,
                       uint32_t smooth) {
    Tri(a, b, c, material, smooth);
    Tri(a, c, d, material, smooth);
}

std::string MeshBuilder::Text(const std::string& name) const {
    std::string s = "mesh " + name + "\nvertices " + std::to_string(positions_.size()) + "\n";
    for (const YVector& p : positions_) s += FormatReal(p.x) + " " + FormatReal(p.y) + " " + FormatReal(p.z) + "\n";
    s += "tvertices " + std::to_string(uvs_.size()) + "\n";
    for (const auto& [u, v] : uvs_) s += FormatReal(u) + " " + FormatReal(1.0f - v) + "\n";
    s += "faces " + std::to_string(faces_.size()) + "\n";
    for (const Face& f : faces_) {
        for (int p : f.p) s += std::to_string(p) + " ";
        for (int t : f.t) s += std::to_string(t) + " ";
        s += std::to_string(f.material) + " " + std::to_string(f.smooth) + "\n";
    }
    s += "end\n";
    return s;
}

} // namespace meshgen
