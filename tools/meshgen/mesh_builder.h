#pragma once
// Collects triangles in the exporter's view of a model (positions shared by faces, per-face
// texture indices, material ids and smoothing masks) and writes them as a text mesh file.
//
// Positions and texture coordinates with exactly equal values are stored once, so faces that
// meet at a point share its position: the importer smooths normals only across faces that share
// a position and a smoothing bit, and splits vertices where texture coordinates differ.
//
// Triangles are given counter-clockwise as seen from the side they face (their normal points
// there). Texture coordinates are given with v growing downward in the picture, as the renderer
// samples them; the file stores 1 - v, which the importer turns back.
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "math/vector.h"

namespace meshgen {

struct Corner {
    YVector p;
    float u = 0, v = 0;
};

// Smoothing masks: faces sharing a bit at a position average their normals there; 0 is flat.
constexpr uint32_t FLAT = 0;

class MeshBuilder {
public:
    void Tri(const Corner& a, const Corner& b, const Corner& c, int material, uint32_t smooth);
    // Two triangles a b c and a c d.
    void Quad(const Corner& a, const Corner& b, const Corner& c, const Corner& d, int material, uint32_t smooth);

    // Positions made from now on carry this tag (the skinned hero: the bone they follow).
    void SetTag(int tag) { tag_ = tag; }
    // The tag of each position, in position order.
    const std::vector<int>& PositionTags() const { return tags_; }

    int FaceCount() const { return static_cast<int>(faces_.size()); }
    int PositionCount() const { return static_cast<int>(positions_.size()); }

    // The text file: "mesh <name>", positions, texture coordinates and faces, closed by a word.
    std::string Text(const std::string& name) const;

private:
    struct Face {
        int p[3], t[3];
        int material;
        uint32_t smooth;
    };
    int Position(const YVector& p);
    int UV(float u, float v);

    std::vector<YVector> positions_;
    std::vector<std::pair<float, float>> uvs_;
    std::map<std::tuple<float, float, float>, int> positionIndex_;
    std::map<std::pair<float, float>, int> uvIndex_;
    std::vector<Face> faces_;
    std::vector<int> tags_;
    int tag_ = 0;
};

// A float in the shortest text that reads back to the same value ("C" locale, no exponent for
// ordinary magnitudes).
std::string FormatReal(float v);

} // namespace meshgen
