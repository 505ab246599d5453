#include "tools/meshgen/hero_skin.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace meshgen {

BoneWeights OnBone(int bone) {
    BoneWeights w{};
    w[static_cast<std::size_t>(bone)] = 1;
    return w;
}

BoneWeights Between(int first, int second, float share) {
    BoneWeights w{};
    w[static_cast<std::size_t>(first)] += 1 - share;
    w[static_cast<std::size_t>(second)] += share;
    return w;
}

namespace {

// Sums of corners with factors, for the subdivision's averages.
struct Blend {
    YVector p{0, 0, 0};
    BoneWeights w{};
    void Add(const SkinCorner& c, float f) {
        p = p + c.p * f;
        for (std::size_t i = 0; i < w.size(); ++i) w[i] += c.w[i] * f;
    }
    void Add(const Blend& b, float f) {
        p = p + b.p * f;
        for (std::size_t i = 0; i < w.size(); ++i) w[i] += b.w[i] * f;
    }
    SkinCorner Corner() const { return {p, w}; }
};

float Dot(const YVector& a, const YVector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

} // namespace

int Skin::AddCorner(const YVector& p, const BoneWeights& w) {
    corners_.push_back({p, w});
    return static_cast<int>(corners_.size()) - 1;
}

int Skin::AddQuad(int a, int b, int c, int d, int material) {
    quads_.push_back({{a, b, c, d}, material});
    return static_cast<int>(quads_.size()) - 1;
}

YVector Skin::Centre(int q) const {
    YVector s{0, 0, 0};
    for (int c : quads_[static_cast<std::size_t>(q)].c) s = s + corners_[static_cast<std::size_t>(c)].p;
    return s * 0.25f;
}

std::array<int, 4> Skin::Extrude(int q, const Ring& to, const BoneWeights& w, int material, int endMaterial) {
    const YVector centre = Centre(q);
    const std::array<int, 4> old = quads_[static_cast<std::size_t>(q)].c;
    std::array<int, 4> fresh{};
    for (int i = 0; i < 4; ++i) {
        const YVector d = corners_[static_cast<std::size_t>(old[i])].p - centre;
        const float su = Dot(d, to.u) < 0 ? -1.0f : 1.0f;
        const float sv = Dot(d, to.v) < 0 ? -1.0f : 1.0f;
        fresh[i] = AddCorner(to.centre + to.u * (su * to.hu) + to.v * (sv * to.hv), w);
    }
    std::array<int, 4> sides{};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        sides[i] = AddQuad(old[i], old[j], fresh[j], fresh[i], material);
    }
    SkinQuad& end = quads_[static_cast<std::size_t>(q)];
    end.c = fresh;
    if (endMaterial >= 0) end.material = endMaterial;
    return sides;
}

int Skin::Furthest(const std::array<int, 4>& quads, const YVector& direction) const {
    int best = quads[0];
    for (int q : quads)
        if (Dot(Centre(q), direction) > Dot(Centre(best), direction)) best = q;
    return best;
}

Skin Skin::Subdivided() const {
    struct Edge {
        int a, b;
        int faces[2] = {-1, -1};
    };
    std::vector<Edge> edges;
    std::map<std::pair<int, int>, int> edgeIndex;
    std::vector<std::array<int, 4>> quadEdges(quads_.size());
    for (std::size_t q = 0; q < quads_.size(); ++q)
        for (int i = 0; i < 4; ++i) {
            const int a = quads_[q].c[i], b = quads_[q].c[(i + 1) % 4];
            const auto key = std::minmax(a, b);
            auto [it, added] = edgeIndex.try_emplace(key, static_cast<int>(edges.size()));
            if (added) edges.push_back({a, b});
            Edge& e = edges[static_cast<std::size_t>(it->second)];
            e.faces[e.faces[0] < 0 ? 0 : 1] = static_cast<int>(q);
            quadEdges[q][i] = it->second;
        }

    std::vector<Blend> facePoint(quads_.size());
    for (std::size_t q = 0; q < quads_.size(); ++q)
        for (int c : quads_[q].c) facePoint[q].Add(corners_[static_cast<std::size_t>(c)], 0.25f);

    std::vector<Blend> edgePoint(edges.size());
    std::vector<Blend> faceSum(corners_.size()), midSum(corners_.size());
    std::vector<int> valence(corners_.size(), 0);
    for (std::size_t e = 0; e < edges.size(); ++e) {
        const Edge& edge = edges[e];
        const SkinCorner& a = corners_[static_cast<std::size_t>(edge.a)];
        const SkinCorner& b = corners_[static_cast<std::size_t>(edge.b)];
        edgePoint[e].Add(a, 0.25f);
        edgePoint[e].Add(b, 0.25f);
        for (int f : edge.faces) edgePoint[e].Add(facePoint[static_cast<std::size_t>(f < 0 ? 0 : f)], 0.25f);
        for (int end : {edge.a, edge.b}) {
            midSum[static_cast<std::size_t>(end)].Add(a, 0.5f);
            midSum[static_cast<std::size_t>(end)].Add(b, 0.5f);
            ++valence[static_cast<std::size_t>(end)];
        }
    }
    for (std::size_t q = 0; q < quads_.size(); ++q)
        for (int c : quads_[q].c) faceSum[static_cast<std::size_t>(c)].Add(facePoint[q], 1.0f);

    Skin out;
    for (std::size_t v = 0; v < corners_.size(); ++v) {
        const float n = static_cast<float>(valence[v]);
        Blend b;
        b.Add(faceSum[v], 1.0f / (n * n));
        b.Add(midSum[v], 2.0f / (n * n));
        b.Add(corners_[v], (n - 3.0f) / n);
        out.corners_.push_back(b.Corner());
    }
    const int firstEdge = static_cast<int>(out.corners_.size());
    for (const Blend& b : edgePoint) out.corners_.push_back(b.Corner());
    const int firstFace = static_cast<int>(out.corners_.size());
    for (const Blend& b : facePoint) out.corners_.push_back(b.Corner());

    for (std::size_t q = 0; q < quads_.size(); ++q)
        for (int i = 0; i < 4; ++i)
            out.AddQuad(quads_[q].c[i], firstEdge + quadEdges[q][i], firstFace + static_cast<int>(q),
                        firstEdge + quadEdges[q][(i + 3) % 4], quads_[q].material);
    return out;
}

bool Skin::IsClosedAndConnected() const {
    if (quads_.empty()) return false;
    // Directed edges: each must appear once, and its reverse once.
    std::map<std::pair<int, int>, int> directed;
    for (std::size_t q = 0; q < quads_.size(); ++q)
        for (int i = 0; i < 4; ++i)
            if (!directed.try_emplace({quads_[q].c[i], quads_[q].c[(i + 1) % 4]}, static_cast<int>(q)).second)
                return false;
    for (const auto& [edge, q] : directed)
        if (!directed.count({edge.second, edge.first})) return false;
    std::vector<char> seen(quads_.size(), 0);
    std::vector<int> todo{0};
    seen[0] = 1;
    std::size_t reached = 1;
    while (!todo.empty()) {
        const int q = todo.back();
        todo.pop_back();
        for (int i = 0; i < 4; ++i) {
            const int other = directed.at(
                {quads_[static_cast<std::size_t>(q)].c[(i + 1) % 4], quads_[static_cast<std::size_t>(q)].c[i]});
            if (!seen[static_cast<std::size_t>(other)]) {
                seen[static_cast<std::size_t>(other)] = 1;
                ++reached;
                todo.push_back(other);
            }
        }
    }
    return reached == quads_.size();
}

} // namespace meshgen
