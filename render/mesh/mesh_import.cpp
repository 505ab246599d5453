#include "render/mesh/mesh_import.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/log.h"

namespace {

// Vertices are addressed by 16-bit indices.
constexpr std::size_t MAX_MESH_VERTICES = 65536;

// Imported positions closer than this in every coordinate are one point for edge pairing.
constexpr float EDGE_EPSILON = 0.000001f;

struct ImportFace {
    int32_t p[3];   // positions
    int32_t t[3];   // texture coordinates
    int32_t l[3];   // light-map coordinates
    int32_t g[3];   // normal group of each corner
    int32_t out[3]; // final vertex of each corner
    int32_t material;
    uint32_t smooth;
};

// Thrown inside the import once the error line is logged; the mesh is then left empty.
struct Refusal {};

[[noreturn]] void RefuseToken(const std::string& word) {
    LogPrintf(g_Log, "Error token: %s", word.c_str());
    throw Refusal{};
}

void ReadInt(YMeshTextReader& in, int32_t& v) {
    if (!in.Int(v)) RefuseToken(in.BadWord());
}

void ReadReal(YMeshTextReader& in, float& v) {
    if (!in.Real(v)) RefuseToken(in.BadWord());
}

// A count followed by `count` records of `wordsEach` words, and at most `most` of them.
int32_t ReadCount(YMeshTextReader& in, int wordsEach, std::size_t most = INT32_MAX) {
    int32_t n = 0;
    ReadInt(in, n);
    if (!in.CouldHold(n, wordsEach) || static_cast<std::size_t>(n) > most) RefuseToken(std::to_string(n));
    return n;
}

void ReadIndex(YMeshTextReader& in, int32_t& v, std::size_t limit) {
    ReadInt(in, v);
    if (v < 0 || static_cast<std::size_t>(v) >= limit) RefuseToken(std::to_string(v));
}

void ReadUVs(YMeshTextReader& in, std::vector<YVector2>& uvs) {
    uvs.resize(static_cast<std::size_t>(ReadCount(in, 2)));
    for (YVector2& uv : uvs) {
        ReadReal(in, uv.u);
        ReadReal(in, uv.v);
        uv.v = 1.0f - uv.v;
    }
}

[[noreturn]] void RefuseLimit(const char* format) {
    LogPrintf(g_Log, format, 15);
    throw Refusal{};
}

struct CornerKey {
    int32_t pos, tex, light, group;
    bool operator==(const CornerKey&) const = default;
};

struct CornerKeyHash {
    std::size_t operator()(const CornerKey& k) const {
        uint64_t h = static_cast<uint32_t>(k.pos);
        h = h * 0x9E3779B97F4A7C15ull ^ static_cast<uint32_t>(k.tex);
        h = h * 0x9E3779B97F4A7C15ull ^ static_cast<uint32_t>(k.light);
        h = h * 0x9E3779B97F4A7C15ull ^ static_cast<uint32_t>(k.group);
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

// Edge pairing. A half-edge is corner c of face i with its edge to corner c + 1; it pairs with a
// half-edge of a later face that runs between the same two points the other way. Faces are
// taken in order and every corner pairs at most once as the later partner, while an earlier
// corner pairs with every later one that matches. Candidates are found through a grid over
// (start, end) of each half-edge: a point looks in the cells its tolerance reaches, which is one
// cell unless it lies within the tolerance of a cell's side, so the search stays near linear.
class EdgePairing {
public:
    EdgePairing(const std::vector<ImportFace>& faces, const std::vector<YVector>& positions)
        : faces_(faces), positions_(positions), marked_(faces.size() * 3, 0) {
        for (std::size_t h = 0; h < marked_.size(); ++h)
            buckets_[KeyOf(Start(h), End(h))].push_back(static_cast<int32_t>(h));
    }

    void Run(std::vector<YMeshEdge>& edges) {
        edges.reserve(faces_.size() * 3 / 2);
        std::vector<int32_t> found;
        for (std::size_t i = 0; i < faces_.size(); ++i)
            for (int c = 0; c < 3; ++c) {
                const std::size_t h = 3 * i + c;
                if (marked_[h]) continue;
                found.clear();
                Collect(i, End(h), Start(h), found);
                // In the order of the later face, then of its corner d = e + 1 (corner 0 first).
                std::sort(found.begin(), found.end(), [](int32_t x, int32_t y) {
                    const int32_t fx = x / 3, fy = y / 3;
                    if (fx != fy) return fx < fy;
                    return (x % 3 + 1) % 3 < (y % 3 + 1) % 3;
                });
                for (int32_t other : found) {
                    const ImportFace& f = faces_[i];
                    edges.push_back({f.out[c], f.out[(c + 1) % 3], static_cast<int32_t>(i), other / 3});
                    marked_[h] = 1;
                    marked_[other] = 1;
                }
            }
    }

private:
    struct Key {
        int64_t cell[6];
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            uint64_t h = 0;
            for (int64_t c : k.cell) {
                h += static_cast<uint64_t>(c) + 0x9E3779B97F4A7C15ull;
                h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9ull;
                h = (h ^ (h >> 27)) * 0x94D049BB133111EBull;
                h ^= h >> 31;
            }
            return static_cast<std::size_t>(h);
        }
    };

    const YVector& Start(std::size_t h) const { return positions_[faces_[h / 3].p[h % 3]]; }
    const YVector& End(std::size_t h) const { return positions_[faces_[h / 3].p[(h % 3 + 1) % 3]]; }

    // Cells of 1/1024 unit, far wider than the tolerance and far narrower than a model's detail,
    // with their sides off the round numbers that modelled coordinates like to take.
    static int64_t Cell(double v) {
        const double c = std::floor(v * 1024.0 + 0.3183098861837907);
        return static_cast<int64_t>(std::clamp(c, -4.0e18, 4.0e18));
    }
    static Key KeyOf(const YVector& s, const YVector& e) {
        return {{Cell(s.x), Cell(s.y), Cell(s.z), Cell(e.x), Cell(e.y), Cell(e.z)}};
    }
    static bool Near(const YVector& a, const YVector& b) {
        return std::fabs(a.x - b.x) < EDGE_EPSILON && std::fabs(a.y - b.y) < EDGE_EPSILON &&
               std::fabs(a.z - b.z) < EDGE_EPSILON;
    }

    // Unmarked half-edges of faces after `face` that run from `s` to `e`.
    void Collect(std::size_t face, const YVector& s, const YVector& e, std::vector<int32_t>& found) {
        const float v[6] = {s.x, s.y, s.z, e.x, e.y, e.z};
        int64_t lo[6], hi[6];
        for (int k = 0; k < 6; ++k) {
            lo[k] = Cell(double(v[k]) - EDGE_EPSILON);
            hi[k] = Cell(double(v[k]) + EDGE_EPSILON);
        }
        // Every combination of the (one or two) cells per coordinate.
        int varying = 0;
        for (int k = 0; k < 6; ++k)
            if (hi[k] != lo[k]) varying |= 1 << k;
        for (int bits = 0; bits < 64; ++bits) {
            if (bits & ~varying) continue;
            Key key;
            for (int k = 0; k < 6; ++k) key.cell[k] = (bits >> k) & 1 ? hi[k] : lo[k];
            auto it = buckets_.find(key);
            if (it == buckets_.end()) continue;
            std::vector<int32_t>& list = it->second;
            // Half-edges already paired, or of this face or earlier ones, never pair again.
            std::erase_if(list, [&](int32_t h) { return marked_[h] || static_cast<std::size_t>(h / 3) <= face; });
            for (int32_t h : list)
                if (Near(Start(h), s) && Near(End(h), e)) found.push_back(h);
        }
    }

    const std::vector<ImportFace>& faces_;
    const std::vector<YVector>& positions_;
    std::vector<unsigned char> marked_;
    std::unordered_map<Key, std::vector<int32_t>, KeyHash> buckets_;
};

class Importer {
public:
    Importer(YMeshTextReader& in, YMeshData& mesh) : in_(in), mesh_(mesh) {}

    YMeshImportResult Run() {
        mesh_.ClearGeometry();
        YMeshImportResult result = YMeshImportResult::Ok;
        try {
            bool sort = true;
            if (!ReadBlocks(sort)) result = YMeshImportResult::Incomplete;
            Build(sort);
        } catch (const Refusal&) {
            mesh_.ClearGeometry();
            return YMeshImportResult::Refused;
        }
        return result;
    }

private:
    bool Keyword(const char* expected) {
        const std::string w = in_.Word();
        if (w == expected) return true;
        LogPrintf(g_Log, "Error token: %s", w.c_str());
        return false;
    }

    // False after a missing keyword (logged); what was read stays.
    bool ReadBlocks(bool& sort) {
        sort = false;
        if (!Keyword("mesh")) return false;
        in_.Word();
        if (!Keyword("vertices")) return false;
        // Every position a face uses makes at least one vertex, so more positions than vertices
        // can be addressed are no usable model; and each would cost a group far larger than its
        // line in the file.
        positions_.resize(static_cast<std::size_t>(ReadCount(in_, 3, MAX_MESH_VERTICES)));
        for (YVector& p : positions_) {
            ReadReal(in_, p.x);
            ReadReal(in_, p.y);
            ReadReal(in_, p.z);
        }
        if (!Keyword("tvertices")) return false;
        ReadUVs(in_, uvs_);
        if (!Keyword("faces")) return false;
        faces_.resize(static_cast<std::size_t>(ReadCount(in_, 8)));
        for (ImportFace& f : faces_) {
            for (int32_t& p : f.p) ReadIndex(in_, p, positions_.size());
            for (int32_t& t : f.t) ReadIndex(in_, t, uvs_.size());
            ReadInt(in_, f.material);
            if (!in_.UInt(f.smooth)) RefuseToken(in_.BadWord());
            for (int c = 0; c < 3; ++c) f.l[c] = f.t[c];
        }
        if (in_.Word() != "lightmap") {
            lightUVs_ = uvs_;
            sort = true;
            return true;
        }
        in_.Word();
        in_.Word();
        ReadUVs(in_, lightUVs_);
        if (!Keyword("tfaces")) return false;
        const int32_t count = ReadCount(in_, 4);
        for (int32_t k = 0; k < count; ++k) {
            int32_t f = 0;
            ReadIndex(in_, f, faces_.size());
            for (int32_t& l : faces_[f].l) ReadIndex(in_, l, lightUVs_.size());
        }
        sort = true;
        return true;
    }

    void Build(bool sort) {
        // Faces whose light-map indices stayed their texture indices must fit the light-map list
        // too when a "lightmap" block replaced it.
        for (const ImportFace& f : faces_)
            for (int32_t l : f.l)
                if (static_cast<std::size_t>(l) >= lightUVs_.size()) RefuseToken(std::to_string(l));

        if (sort)
            std::stable_sort(faces_.begin(), faces_.end(),
                             [](const ImportFace& a, const ImportFace& b) { return a.material < b.material; });

        // Faces per position, with the corner of each use.
        std::vector<YPositionGroup>& groups = mesh_.positionGroups;
        groups.resize(positions_.size());
        std::vector<int8_t> corners(positions_.size() * MAX_FACES_PER_NORMAL);
        for (std::size_t i = 0; i < positions_.size(); ++i) {
            groups[i] = YPositionGroup{};
            groups[i].pos = positions_[i];
        }
        for (std::size_t f = 0; f < faces_.size(); ++f)
            for (int c = 0; c < 3; ++c) {
                const int32_t p = faces_[f].p[c];
                YPositionGroup& g = groups[p];
                corners[p * MAX_FACES_PER_NORMAL + g.faceCount] = static_cast<int8_t>(c);
                g.faces[g.faceCount++] = static_cast<int32_t>(f);
                if (g.faceCount == MAX_FACES_PER_NORMAL) RefuseLimit("Error, MAX_FACES_PER_NORMAL = %d  is small");
            }

        BuildNormalGroups(corners);

        // One final vertex per distinct corner key, in order of first use.
        std::unordered_map<CornerKey, int32_t, CornerKeyHash> keys;
        std::vector<CornerKey> order;
        for (ImportFace& f : faces_)
            for (int c = 0; c < 3; ++c) {
                const CornerKey key{f.p[c], f.t[c], f.l[c], f.g[c]};
                auto [it, added] = keys.try_emplace(key, static_cast<int32_t>(order.size()));
                if (added) {
                    order.push_back(key);
                    if (order.size() > MAX_MESH_VERTICES) {
                        LogPrintf(g_Log, "Error, a mesh holds at most %d vertices",
                                  static_cast<int>(MAX_MESH_VERTICES));
                        throw Refusal{};
                    }
                }
                f.out[c] = it->second;
            }

        mesh_.vertices.resize(order.size());
        for (std::size_t v = 0; v < order.size(); ++v) {
            const CornerKey& k = order[v];
            YVertex& vert = mesh_.vertices[v];
            vert.pos = positions_[k.pos];
            vert.normal = YVector(0, 0, 0);
            vert.uv1 = uvs_[k.tex];
            vert.uv2 = lightUVs_[k.light];
            YPositionGroup& pg = groups[k.pos];
            YNormalGroup& ng = mesh_.normalGroups[k.group];
            if (pg.vertexCount == MAX_VERT_IDX || ng.vertexCount == MAX_VERT_IDX)
                RefuseLimit("Error, MAX_VERT_IDX = %d  is small");
            pg.vertices[pg.vertexCount++] = static_cast<int32_t>(v);
            ng.vertices[ng.vertexCount++] = static_cast<int32_t>(v);
        }

        mesh_.faces.resize(faces_.size());
        mesh_.indices.resize(faces_.size() * 3);
        for (std::size_t f = 0; f < faces_.size(); ++f) {
            const ImportFace& src = faces_[f];
            mesh_.faces[f] = {src.out[0], src.out[1], src.out[2], YVector(0, 0, 0)};
            for (int c = 0; c < 3; ++c) mesh_.indices[3 * f + c] = static_cast<uint16_t>(src.out[c]);
        }
        mesh_.ComputeFaceNormals(mesh_.vertices);
        mesh_.ComputeVertexNormals(mesh_.vertices);

        BuildSubsets();
        EdgePairing(faces_, positions_).Run(mesh_.edges);
    }

    // Each position's corners are taken from the back of its list: the corner opens a group, and
    // every remaining corner whose face shares a smoothing bit with the opening face joins it.
    void BuildNormalGroups(const std::vector<int8_t>& corners) {
        struct Use {
            int32_t face;
            int8_t corner;
        };
        for (std::size_t p = 0; p < positions_.size(); ++p) {
            const YPositionGroup& pg = mesh_.positionGroups[p];
            Use uses[MAX_FACES_PER_NORMAL];
            int count = pg.faceCount;
            for (int k = 0; k < count; ++k) uses[k] = {pg.faces[k], corners[p * MAX_FACES_PER_NORMAL + k]};
            while (count > 0) {
                const Use first = uses[--count];
                const int32_t groupIndex = static_cast<int32_t>(mesh_.normalGroups.size());
                YNormalGroup group{};
                group.faceCount = 1;
                group.faces[0] = first.face;
                faces_[first.face].g[first.corner] = groupIndex;
                const uint32_t mask = faces_[first.face].smooth;
                int kept = 0;
                for (int k = 0; k < count; ++k) {
                    if (faces_[uses[k].face].smooth & mask) {
                        if (group.faceCount == MAX_FACES_PER_NORMAL)
                            RefuseLimit("Error, MAX_FACES_PER_NORMAL = %d  is small");
                        group.faces[group.faceCount++] = uses[k].face;
                        faces_[uses[k].face].g[uses[k].corner] = groupIndex;
                    } else {
                        uses[kept++] = uses[k];
                    }
                }
                count = kept;
                mesh_.normalGroups.push_back(group);
            }
        }
    }

    // Runs of faces with one material id, in face order.
    void BuildSubsets() {
        if (faces_.empty()) return;
        YMeshSubset run{0, 0, faces_[0].material, faces_[0].out[0], 0};
        int32_t maxVertex = faces_[0].out[0];
        for (std::size_t f = 0; f < faces_.size(); ++f) {
            const ImportFace& face = faces_[f];
            if (face.material != run.materialId) {
                run.vertexSpan = maxVertex - run.minIndex + 1;
                mesh_.subsets.push_back(run);
                run = {static_cast<int32_t>(3 * f), 0, face.material, face.out[0], 0};
                maxVertex = face.out[0];
            }
            ++run.primitiveCount;
            for (int32_t v : face.out) {
                run.minIndex = std::min(run.minIndex, v);
                maxVertex = std::max(maxVertex, v);
            }
        }
        run.vertexSpan = maxVertex - run.minIndex + 1;
        mesh_.subsets.push_back(run);
    }

    YMeshTextReader& in_;
    YMeshData& mesh_;
    std::vector<YVector> positions_;
    std::vector<YVector2> uvs_;
    std::vector<YVector2> lightUVs_;
    std::vector<ImportFace> faces_;
};

} // namespace

YMeshImportResult ImportMeshText(YMeshTextReader& in, YMeshData& mesh) { return Importer(in, mesh).Run(); }
